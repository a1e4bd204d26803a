#include "framework/Window.h"

#include "framework/WideText.h"
#include "framework/WindowBinding.h"

Window::Window(WindowObject* parent, std::string_view titleText)
    : WindowObject(parent), title(Widen(titleText)),
      style(parent == nullptr ? WS_OVERLAPPEDWINDOW : WS_CHILD | WS_VISIBLE), x(CW_USEDEFAULT),
      width(CW_USEDEFAULT), previousProcedure(&DefWindowProcW)
{
}

Window::Window(WindowObject* parent, int id) : WindowObject(parent), menuOrId(static_cast<UINT_PTR>(id))
{
    SetFlag(FromTemplate);
}

Window::~Window()
{
    // Here the window's messages still reach this object as a Window.
    DestroyHandle();
}

void Window::DefaultProcessing(WindowMessage& msg)
{
    WNDPROC procedure = previousProcedure != nullptr ? previousProcedure : &DefWindowProcW;
    msg.result = CallWindowProcW(procedure, msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

void Window::Dispatch(WindowMessage& msg)
{
    switch (msg.message) {
    case WM_CREATE:
        OnCreate(msg);
        break;
    case WM_MOVE:
        OnMove(msg);
        break;
    case WM_SIZE:
        OnSize(msg);
        break;
    case WM_PAINT:
        OnPaint(msg);
        break;
    case WM_SYSCOMMAND:
        OnSysCommand(msg);
        break;
    default:
        WindowObject::Dispatch(msg);
        break;
    }
}

int Window::ControlId() const
{
    return static_cast<int>(menuOrId);
}

void Window::FillWindowClass(WNDCLASSW& windowClass)
{
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = &WindowBinding::CreationProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = ModuleInstance();
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = WindowClassName();
}

bool Window::Realize()
{
    if (handle != nullptr)
        return true;
    HWND parentHandle = ParentHandle();
    if (HasFlags(FromTemplate)) {
        handle = GetDlgItem(parentHandle, static_cast<int>(menuOrId));
    } else if (EnsureClassRegistered()) {
        WindowBinding::SetPendingWindow(this);
        CreateHandle(parentHandle);
        // A window of a system class never takes it; no later window may.
        WindowBinding::SetPendingWindow(nullptr);
    }
    if (handle == nullptr)
        return false;
    WindowObject* owner = ObjectOfWindow(handle);
    if (owner == nullptr) {
        // A system control or dialog item: its procedure becomes the default.
        previousProcedure = WindowBinding::Subclass(handle, this);
        SetUp();
        UpdatePlacement();
    } else if (owner != this) {
        // The item already belongs to another object.
        handle = nullptr;
    }
    return handle != nullptr;
}

void Window::OnActivate(WindowMessage& msg)
{
    WindowObject::OnActivate(msg);
    if (!HasFlags(DialogKeys))
        return;
    if (msg.WParamLow() != WA_INACTIVE)
        RestoreFocus();
    else
        SaveFocus();
}

void Window::CreateHandle(HWND parentHandle)
{
    HWND created = CreateWindowExW(exStyle, WindowClassName(), title.empty() ? nullptr : title.c_str(), style,
                                   x, y, width, height, parentHandle, reinterpret_cast<HMENU>(menuOrId),
                                   ModuleInstance(), createParam);
    // A framework-class window was bound (and handle set) by its first
    // message; keep that unless creation failed and destroyed it again.
    handle = created;
}

void Window::PaintContent(PAINTSTRUCT&) {}

void Window::OnCreate(WindowMessage& msg)
{
    SetUp();
    DefaultProcessing(msg);
}

void Window::OnPaint(WindowMessage&)
{
    PAINTSTRUCT paint;
    BeginPaint(handle, &paint);
    PaintContent(paint);
    EndPaint(handle, &paint);
}

void Window::OnMove(WindowMessage& msg)
{
    UpdatePlacement();
    DefaultProcessing(msg);
}

void Window::OnSize(WindowMessage& msg)
{
    if (msg.wParam == SIZE_RESTORED) {
        RECT rect;
        if (GetWindowRect(handle, &rect)) {
            width = rect.right - rect.left;
            height = rect.bottom - rect.top;
        }
    }
    DefaultProcessing(msg);
}

void Window::OnSysCommand(WindowMessage& msg)
{
    if (HasFlags(DialogKeys)) {
        const WPARAM command = msg.wParam & 0xFFF0;
        if (command == SC_MINIMIZE)
            SaveFocus();
        else if (command == SC_RESTORE)
            RestoreFocus();
    }
    DefaultProcessing(msg);
}

void Window::SaveFocus()
{
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(handle, focus))
        savedFocus = focus;
}

void Window::RestoreFocus()
{
    if (savedFocus != nullptr && IsWindow(savedFocus) && !IsIconic(handle))
        SetFocus(savedFocus);
}

void Window::UpdatePlacement()
{
    if (handle == nullptr || IsIconic(handle) || IsZoomed(handle))
        return;
    RECT rect;
    if (!GetWindowRect(handle, &rect))
        return;
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    POINT corner{rect.left, rect.top};
    if (Parent() != nullptr && (style & WS_CHILD) != 0)
        ScreenToClient(ParentHandle(), &corner);
    x = corner.x;
    y = corner.y;
}

void Window::SetPlacement(int left, int top, int newWidth, int newHeight)
{
    x = left;
    y = top;
    width = newWidth;
    height = newHeight;
}
