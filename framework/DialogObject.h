#pragma once

#include "framework/WindowObject.h"

#include <string>
#include <string_view>

// A window object whose window is a dialog box made from a template
// resource. Derived dialogs bind control objects to template items in their
// constructor (MakeChild<CheckBox>(id), ...), fill them in SetUp (calling
// DialogObject::SetUp first) and read them in Accept before calling the
// base Accept:
//
//   class RangeDialog : public DialogObject {
//   public:
//       explicit RangeDialog(WindowObject* parent)
//           : DialogObject(parent, 6), minEdit(MakeChild<ValueEdit>(201)) {}
//       void SetUp() override { DialogObject::SetUp(); minEdit->SetReal(0.0f, 2); }
//       void Accept(WindowMessage& msg) override
//       { value = minEdit->GetReal(); DialogObject::Accept(msg); }
//   private:
//       ValueEdit* minEdit;
//       float value = 0;
//   };
//   int result = Application::Instance()->RunModal(std::make_unique<RangeDialog>(mainWindow));
class DialogObject : public WindowObject {
public:
    // Template by numeric resource id.
    DialogObject(WindowObject* parent, int templateId);
    // Template by name (copied).
    DialogObject(WindowObject* parent, std::string_view templateName);
    ~DialogObject() override;

    // Result 0: the dialog manager applies its own default handling.
    void DefaultProcessing(WindowMessage& msg) override;
    void Dispatch(WindowMessage& msg) override;
    void OnCommandId(WindowMessage& msg, int id) override;
    void OnChildNotification(WindowMessage& msg, int id) override;
    // Modeless creation; the dialog then gets dialog keys while active.
    bool Realize() override;
    void OnClose(WindowMessage& msg) override;
    // Inverted answer: 0 lets the dialog manager's default allow the end of
    // the session, 1 (handled, with a zero message result) refuses it.
    void OnQueryEndSession(WindowMessage& msg) override;

    virtual void OnInitDialog(WindowMessage& msg);
    // OK: a modal dialog ends with 1 if ReadyToClose agrees; modeless closes.
    virtual void Accept(WindowMessage& msg);
    // Cancel, Escape, close box: a modal dialog ends with 2 at once.
    virtual void Dismiss(WindowMessage& msg);

    // Runs the modal dialog box until EndDialog; -1 if it cannot be created.
    // Use it through Application::RunModal, which frees the object.
    INT_PTR RunDialogBox();
    void EndDialog(INT_PTR result);
    bool IsModal() const { return isModal; }

protected:
    LPARAM initParam = 0;

private:
    LPCWSTR Template() const;

    int templateId = 0;
    std::wstring templateName; // used when not empty
    bool isModal = false;
};
