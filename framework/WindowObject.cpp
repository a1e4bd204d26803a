#include "framework/WindowObject.h"

#include "framework/Application.h"
#include "framework/RuntimeError.h"
#include "framework/WindowBinding.h"

#include <algorithm>

namespace {

// The run-time stop for an operation a type must provide but did not.
constexpr int AbstractCallError = 211;

} // namespace

WindowObject::WindowObject(WindowObject* parentObject) : parent(parentObject)
{
    if (parent != nullptr)
        parent->children.push_back(this);
}

WindowObject::~WindowObject()
{
    // Derived destructors have destroyed the window already; a window that
    // is still there must at least stop reaching this object.
    if (handle != nullptr && WindowBinding::BoundObject(handle) == this)
        WindowBinding::Unbind(handle, this);
    // Each child removes itself from the list as it goes.
    while (!children.empty())
        children.front()->Free();
    if (parent != nullptr)
        std::erase(parent->children, this);
    if (Application* app = Application::Instance())
        app->Forget(this);
}

void WindowObject::Free()
{
    DestroyHandle();
    delete this;
}

void WindowObject::ForwardCommand(WindowMessage& msg)
{
    if (parent != nullptr)
        parent->OnCommandId(msg, msg.WParamLow());
    else
        DefaultProcessing(msg);
}

void WindowObject::DefaultChildNotification(WindowMessage& msg)
{
    DefaultProcessing(msg);
}

void WindowObject::ForwardNotification(WindowMessage& msg)
{
    if (parent != nullptr)
        parent->OnChildNotification(msg, static_cast<int>(GetWindowLongPtrW(handle, GWLP_ID)));
}

void WindowObject::Dispatch(WindowMessage& msg)
{
    switch (msg.message) {
    case WM_DESTROY:
        OnDestroy(msg);
        break;
    case WM_ACTIVATE:
        OnActivate(msg);
        break;
    case WM_CLOSE:
        OnClose(msg);
        break;
    case WM_QUERYENDSESSION:
        OnQueryEndSession(msg);
        break;
    case WM_COMMAND:
        OnCommand(msg);
        break;
    case WM_HSCROLL:
        OnHScroll(msg);
        break;
    case WM_VSCROLL:
        OnVScroll(msg);
        break;
    default:
        DefaultProcessing(msg);
        break;
    }
}

void WindowObject::OnCommandId(WindowMessage& msg, int id)
{
    if (id == ExitCommandId)
        OnExitCommand(msg);
    else
        ForwardCommand(msg);
}

void WindowObject::OnChildNotification(WindowMessage& msg, int)
{
    DefaultChildNotification(msg);
}

void WindowObject::OnNotification(WindowMessage& msg, int)
{
    ForwardNotification(msg);
}

int WindowObject::ControlId() const
{
    return -1;
}

const wchar_t* WindowObject::WindowClassName() const
{
    return L"CfgWindow";
}

void WindowObject::FillWindowClass(WNDCLASSW&)
{
    RunError(AbstractCallError);
}

bool WindowObject::EnsureClassRegistered()
{
    WNDCLASSW windowClass = {};
    if (GetClassInfoW(ModuleInstance(), WindowClassName(), &windowClass))
        return true;
    windowClass = {};
    FillWindowClass(windowClass);
    return RegisterClassW(&windowClass) != 0;
}

std::size_t WindowObject::TransferValues(void*, TransferDirection)
{
    return 0;
}

void WindowObject::SetUp()
{
    if (CreateChildren())
        TransferAll(TransferDirection::SetValues);
}

void WindowObject::DestroyHandle()
{
    // Only a window that is still this object's: the system may have
    // destroyed it already, and its handle may even have been reused.
    if (handle != nullptr && WindowBinding::BoundObject(handle) == this)
        DestroyWindow(handle);
}

bool WindowObject::ReadyToClose()
{
    return FirstChildThat([](WindowObject& child) { return !child.ReadyToClose(); }) == nullptr;
}

void WindowObject::OnActivate(WindowMessage& msg)
{
    DefaultProcessing(msg);
    if (!HasFlags(DialogKeys))
        return;
    if (Application* app = Application::Instance())
        app->SetDialogKeysWindow(msg.WParamLow() != WA_INACTIVE ? this : nullptr);
}

void WindowObject::OnCommand(WindowMessage& msg)
{
    if (msg.lParam == 0) {
        OnCommandId(msg, msg.WParamLow());
        return;
    }
    auto control = reinterpret_cast<HWND>(msg.lParam);
    if (WindowObject* object = ObjectOfWindow(control))
        object->OnNotification(msg, msg.WParamHigh());
    else
        OnChildNotification(msg, msg.WParamLow());
}

void WindowObject::ForwardToControl(WindowMessage& msg, HWND control, int code)
{
    if (WindowObject* object = ObjectOfWindow(control))
        object->OnNotification(msg, code);
    else
        OnChildNotification(msg, static_cast<int>(GetWindowLongPtrW(control, GWLP_ID)));
}

void WindowObject::OnHScroll(WindowMessage& msg)
{
    RouteScroll(msg);
}

void WindowObject::OnVScroll(WindowMessage& msg)
{
    RouteScroll(msg);
}

void WindowObject::RouteScroll(WindowMessage& msg)
{
    // lParam is the scroll-bar control; 0 for the window's own scroll bars.
    if (msg.lParam != 0)
        ForwardToControl(msg, reinterpret_cast<HWND>(msg.lParam), msg.WParamLow());
    else
        DefaultProcessing(msg);
}

void WindowObject::OnClose(WindowMessage&)
{
    CloseObject();
}

void WindowObject::OnDestroy(WindowMessage& msg)
{
    if (IsMainWindow())
        PostQuitMessage(0);
    DefaultProcessing(msg);
}

void WindowObject::OnQueryEndSession(WindowMessage& msg)
{
    msg.result = ClosingAllowed() ? 1 : 0;
}

void WindowObject::OnExitCommand(WindowMessage& msg)
{
    if (IsMainWindow())
        CloseObject();
    else
        ForwardCommand(msg);
}

void WindowObject::ForEachChild(const std::function<void(WindowObject&)>& action) const
{
    // A copy: the action may free or add children.
    const std::vector<WindowObject*> visit = children;
    for (WindowObject* child : visit)
        action(*child);
}

WindowObject* WindowObject::FirstChildThat(const std::function<bool(WindowObject&)>& test) const
{
    const std::vector<WindowObject*> visit = children;
    for (WindowObject* child : visit)
        if (test(*child))
            return child;
    return nullptr;
}

void WindowObject::ShowHandle(int command)
{
    if (handle != nullptr)
        ShowWindow(handle, command);
}

void WindowObject::EnableHandle()
{
    if (handle != nullptr)
        EnableWindow(handle, TRUE);
}

void WindowObject::DisableHandle()
{
    if (handle != nullptr)
        EnableWindow(handle, FALSE);
}

bool WindowObject::CreateChildren()
{
    return FirstChildThat([](WindowObject& child) { return !child.Realize(); }) == nullptr;
}

void WindowObject::TransferAll(TransferDirection direction)
{
    if (transferBuffer == nullptr)
        return;
    auto* position = static_cast<std::byte*>(transferBuffer);
    ForEachChild([&](WindowObject& child) {
        if (child.HasFlags(TransferEnabled))
            position += child.TransferValues(position, direction);
    });
}

void WindowObject::CloseObject()
{
    if (ClosingAllowed())
        Free();
}

bool WindowObject::IsMainWindow() const
{
    const Application* app = Application::Instance();
    return app != nullptr && app->MainWindow() == this;
}

bool WindowObject::ClosingAllowed()
{
    if (IsMainWindow())
        return Application::Instance()->ReadyToClose();
    return ReadyToClose();
}
