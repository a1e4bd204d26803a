#include "RuntimeErrorExpect.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>

namespace {

BOOL CALLBACK FindText(HWND child, LPARAM out)
{
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    wchar_t text[128] = {};
    if (lstrcmpiW(cls, L"Static") == 0 && GetWindowTextW(child, text, 128) > 0) {
        lstrcpynW(reinterpret_cast<wchar_t*>(out), text, 128);
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI Watch(void*)
{
    for (;;) {
        HWND box = FindWindowW(L"#32770", L"Error");
        DWORD pid = 0;
        if (box != nullptr && GetWindowThreadProcessId(box, &pid) != 0 && pid == GetCurrentProcessId()) {
            wchar_t text[128] = {};
            EnumChildWindows(box, FindText, reinterpret_cast<LPARAM>(text));
            std::fprintf(stderr, "Error: %ls\n", text);
            std::fflush(stderr);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(20);
    }
}

} // namespace

void WatchRuntimeErrorBox()
{
    HANDLE thread = CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr);
    if (thread != nullptr)
        CloseHandle(thread);
}
#else
void WatchRuntimeErrorBox() {}
#endif
