#include "framework/SystemWaitCursor.h"

#include <windows.h>

void SystemWaitCursor::show()
{
    previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void SystemWaitCursor::restore()
{
    SetCursor(static_cast<HCURSOR>(previous));
    previous = nullptr;
}
