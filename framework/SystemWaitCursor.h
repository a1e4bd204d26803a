#pragma once

#include "framework/WaitCursorHook.h"

// The system wait cursor of Windows (IDC_WAIT) for the length of a write
// sequence; restore shows the cursor it replaced. Windows build only.
class SystemWaitCursor : public WaitCursorHook {
public:
    void show() override;
    void restore() override;

private:
    void* previous = nullptr; // the cursor handle shown before
};
