#include "framework/EditBox.h"

EditBox::EditBox(WindowObject* parent, std::string_view title, int x, int y, int width, int height, int id,
                 int textLimit, bool multiLine)
    : StaticText(parent, title, x, y, width, height, id, textLimit)
{
    style = multiLine ? WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_GROUP | WS_TABSTOP |
                            ES_WANTRETURN | ES_MULTILINE
                      : WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL;
    exStyle = WS_EX_CLIENTEDGE;
}

EditBox::EditBox(WindowObject* parent, int id, int textLimit) : StaticText(parent, id, textLimit) {}

void EditBox::OnCommandId(WindowMessage& msg, int id)
{
    switch (id) {
    case CutCommandId:
        CutText();
        break;
    case CopyCommandId:
        CopyText();
        break;
    case PasteCommandId:
        PasteText();
        break;
    case ClearCommandId:
        ClearSelection();
        break;
    case EraseAllCommandId:
        EraseAll();
        break;
    case UndoCommandId:
        UndoEdit();
        break;
    default:
        StaticText::OnCommandId(msg, id);
        break;
    }
}

void EditBox::SetUp()
{
    StaticText::SetUp();
    if (textLimit > 0)
        Send(EM_LIMITTEXT, static_cast<WPARAM>(textLimit - 1));
}

void EditBox::CutText()
{
    Send(WM_CUT);
}

void EditBox::CopyText()
{
    Send(WM_COPY);
}

void EditBox::PasteText()
{
    Send(WM_PASTE);
}

void EditBox::ClearSelection()
{
    Send(WM_CLEAR);
}

void EditBox::EraseAll()
{
    ClearText();
}

void EditBox::UndoEdit()
{
    Send(WM_UNDO);
}
