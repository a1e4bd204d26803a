#pragma once

#include "framework/ListBox.h"

// A combo box, drop-down list or editable. textLimit as for StaticText; a
// non-zero one limits the edit part to textLimit - 1 characters. Transfer
// entry: a StringCollection pointer (not owned; null leaves the entries
// alone), then textLimit bytes of zero-terminated UTF-8 text.
class ComboBox : public ListBox {
public:
    ComboBox(WindowObject* parent, int x, int y, int width, int height, int id, int textLimit, bool editable);
    ComboBox(WindowObject* parent, int id, int textLimit);

    const wchar_t* WindowClassName() const override { return L"Combobox"; }
    std::size_t TransferValues(void* buffer, TransferDirection direction) override;
    UINT MessageFor(ListOperation operation) const override;
    void SetUp() override;

    // Selects the entry that begins with text, or else sets the edit text.
    void SetComboText(std::string_view text);
    std::string GetText() const;
    int TextLimit() const { return textLimit; }

protected:
    int textLimit = 0;
};
