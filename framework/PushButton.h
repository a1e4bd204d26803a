#pragma once

#include "framework/Control.h"

// A push button; its clicks reach the parent as notifications by id.
class PushButton : public Control {
public:
    PushButton(WindowObject* parent, std::string_view title, int x, int y, int width, int height, int id);

    const wchar_t* WindowClassName() const override { return L"Button"; }

protected:
    // For the dialog-item constructors of the derived buttons.
    PushButton(WindowObject* parent, int id) : Control(parent, id) {}
};
