#include "framework/RuntimeError.h"

#include <windows.h>

#include <cwchar>

void RunError(int code)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"Runtime error %d", code);
    MessageBoxW(nullptr, text, L"Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(static_cast<UINT>(code));
}
