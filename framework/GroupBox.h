#pragma once

#include "framework/Control.h"

// A framed group title; takes no part in value transfer.
class GroupBox : public Control {
public:
    GroupBox(WindowObject* parent, std::string_view title, int x, int y, int width, int height, int id);

    const wchar_t* WindowClassName() const override { return L"Button"; }
};
