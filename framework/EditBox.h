#pragma once

#include "framework/StaticText.h"

// An edit field, one line or multi-line. A non-zero textLimit limits what
// the user can type to textLimit - 1 characters.
class EditBox : public StaticText {
public:
    // Edit-menu commands an edit object carries out when they reach it.
    static constexpr int CutCommandId = 0xFF00;
    static constexpr int CopyCommandId = 0xFF01;
    static constexpr int PasteCommandId = 0xFF02;
    static constexpr int ClearCommandId = 0xFF03;
    static constexpr int EraseAllCommandId = 0xFF04;
    static constexpr int UndoCommandId = 0xFF05;

    EditBox(WindowObject* parent, std::string_view title, int x, int y, int width, int height, int id,
            int textLimit, bool multiLine);
    EditBox(WindowObject* parent, int id, int textLimit);

    const wchar_t* WindowClassName() const override { return L"Edit"; }
    void OnCommandId(WindowMessage& msg, int id) override;
    void SetUp() override;

    virtual void CutText();
    virtual void CopyText();
    virtual void PasteText();
    virtual void ClearSelection();
    virtual void EraseAll();
    virtual void UndoEdit();
};
