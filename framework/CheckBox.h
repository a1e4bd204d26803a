#pragma once

#include "framework/PushButton.h"

#include <cstdint>

// An automatic check box. Transfer entry: the 32-bit check state.
class CheckBox : public PushButton {
public:
    CheckBox(WindowObject* parent, std::string_view title, int x, int y, int width, int height, int id);
    CheckBox(WindowObject* parent, int id);

    std::size_t TransferValues(void* buffer, TransferDirection direction) override;

    // 0 unchecked, 1 checked (2 indeterminate).
    int GetCheck() const;
    void SetCheck(int state);
    void SetChecked() { SetCheck(BST_CHECKED); }
};
