#pragma once

#include <windows.h>

// One window message as every handler receives it. result is what the
// window procedure returns; it starts at 1 ("handled").
struct WindowMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 1;

    WORD WParamLow() const { return LOWORD(wParam); }
    WORD WParamHigh() const { return HIWORD(wParam); }
};
