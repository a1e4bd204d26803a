#include "WindowTestSupport.h"

void PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue; // a test's main window posted it; nothing loops here
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
