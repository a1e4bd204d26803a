#pragma once

#include "framework/Window.h"

#include <string_view>

// A window object over one of the system's control classes. Its window's
// own procedure stays in use as default processing, so the system draws
// and runs the control; notifications reach the parent by control id.
class Control : public Window {
public:
    // A control with its own window (child of parent's window).
    Control(WindowObject* parent, std::string_view title, int x, int y, int width, int height, int id);
    // A control bound to the parent dialog's item id (FromTemplate, TransferEnabled).
    Control(WindowObject* parent, int id);

    const wchar_t* WindowClassName() const override = 0;
    // System classes are always there.
    bool EnsureClassRegistered() override { return true; }
    void OnPaint(WindowMessage& msg) override { DefaultProcessing(msg); }

protected:
    // SendMessageW to the control; 0 without a window.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
};
