#include "framework/DialogObject.h"

#include "framework/WideText.h"
#include "framework/WindowBinding.h"

namespace {

// Light grey behind dialogs and the static parts of their controls.
constexpr COLORREF DialogGrey = RGB(0xC0, 0xC0, 0xC0);

} // namespace

DialogObject::DialogObject(WindowObject* parent, int id) : WindowObject(parent), templateId(id) {}

DialogObject::DialogObject(WindowObject* parent, std::string_view name)
    : WindowObject(parent), templateName(Widen(name))
{
}

DialogObject::~DialogObject()
{
    // A modeless dialog's window; a modal one was destroyed when it ended.
    DestroyHandle();
}

LPCWSTR DialogObject::Template() const
{
    if (!templateName.empty())
        return templateName.c_str();
    return MAKEINTRESOURCEW(templateId);
}

void DialogObject::DefaultProcessing(WindowMessage& msg)
{
    msg.result = 0;
}

void DialogObject::Dispatch(WindowMessage& msg)
{
    switch (msg.message) {
    case WM_CTLCOLORDLG:
        msg.result = reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH));
        break;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(msg.wParam), DialogGrey);
        msg.result = reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH));
        break;
    case WM_INITDIALOG:
        OnInitDialog(msg);
        break;
    default:
        WindowObject::Dispatch(msg);
        break;
    }
}

void DialogObject::OnCommandId(WindowMessage& msg, int id)
{
    if (id == IDCANCEL)
        Dismiss(msg);
    else
        WindowObject::OnCommandId(msg, id);
}

void DialogObject::OnChildNotification(WindowMessage& msg, int id)
{
    if (id == IDOK)
        Accept(msg);
    else if (id == IDCANCEL)
        Dismiss(msg);
    else
        DefaultChildNotification(msg);
}

bool DialogObject::Realize()
{
    if (handle != nullptr)
        return true;
    SetFlag(DialogKeys);
    WindowBinding::SetPendingDialog(this);
    HWND created = CreateDialogParamW(ModuleInstance(), Template(), ParentHandle(),
                                      &WindowBinding::DialogProcedure, initParam);
    WindowBinding::SetPendingDialog(nullptr);
    handle = created;
    return handle != nullptr;
}

void DialogObject::OnClose(WindowMessage& msg)
{
    Dismiss(msg);
}

void DialogObject::OnQueryEndSession(WindowMessage& msg)
{
    msg.result = ClosingAllowed() ? 0 : 1;
}

void DialogObject::OnInitDialog(WindowMessage& msg)
{
    handle = msg.hwnd;
    SetUp();
}

void DialogObject::Accept(WindowMessage&)
{
    if (!isModal) {
        CloseObject();
        return;
    }
    if (ReadyToClose()) {
        TransferAll(TransferDirection::GetValues);
        EndDialog(IDOK);
    }
}

void DialogObject::Dismiss(WindowMessage&)
{
    if (isModal)
        EndDialog(IDCANCEL);
    else
        CloseObject();
}

INT_PTR DialogObject::RunDialogBox()
{
    isModal = true;
    WindowBinding::SetPendingDialog(this);
    const INT_PTR result = DialogBoxParamW(ModuleInstance(), Template(), ParentHandle(),
                                           &WindowBinding::DialogProcedure, initParam);
    WindowBinding::SetPendingDialog(nullptr);
    return result;
}

void DialogObject::EndDialog(INT_PTR result)
{
    if (handle != nullptr)
        ::EndDialog(handle, result);
}
