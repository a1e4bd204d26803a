#pragma once

#include "framework/Control.h"

#include <string>
#include <string_view>

// A static text. textLimit is the size in bytes of its text including the
// terminating zero, 0 for no limit. Transfer entry: textLimit bytes holding
// the zero-terminated UTF-8 text.
class StaticText : public Control {
public:
    StaticText(WindowObject* parent, std::string_view title, int x, int y, int width, int height, int id,
               int textLimit);
    StaticText(WindowObject* parent, int id, int textLimit);

    const wchar_t* WindowClassName() const override { return L"Static"; }
    std::size_t TransferValues(void* buffer, TransferDirection direction) override;

    std::string GetText() const;
    void SetText(std::string_view text);
    void ClearText() { SetText(""); }
    int TextLimit() const { return textLimit; }

protected:
    int textLimit = 0;
};
