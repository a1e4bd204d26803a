#pragma once

// Shown around a long write sequence. The Windows program shows the system
// wait cursor and then the cursor it replaced; elsewhere nothing is shown.
class WaitCursorHook {
public:
    virtual ~WaitCursorHook() = default;
    virtual void show() = 0;    // remembers the cursor shown before
    virtual void restore() = 0; // shows the remembered cursor again
};
