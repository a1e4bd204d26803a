#pragma once

#include "framework/BaseObject.h"
#include "framework/TransferDirection.h"
#include "framework/WindowMessage.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class Application;

// An object that owns one Win32 window and receives its messages through
// virtual operations. Objects form a tree: a child constructed with a parent
// is owned by that parent and freed with it, so children are made on the heap
// (MakeChild) and never deleted by hand while the parent lives.
//
// The window is bound to its object through a window property and one shared
// window procedure; the creation procedure binds the object on the window's
// first message, so that message already reaches it. When the window is
// destroyed (by the object or by the system, with its parent) the binding is
// dropped and Handle() becomes null, so no operation acts on a dead handle.
class WindowObject : public BaseObject {
public:
    // Flags (SetFlag / HasFlags); there is no way to clear one.
    static constexpr std::uint32_t DialogKeys = 1;      // dialog keyboard handling while active
    static constexpr std::uint32_t FromTemplate = 2;    // Realize binds to an existing dialog item
    static constexpr std::uint32_t TransferEnabled = 4; // takes part in TransferAll

    // Command that closes the main window (and climbs the chain elsewhere).
    static constexpr int ExitCommandId = 0xFF14;

    explicit WindowObject(WindowObject* parent);
    ~WindowObject() override;

    // Destroys the window while the whole object still answers its messages,
    // then the object and its children. The way to end any window object.
    void Free();

    // Creates a child owned by this object: new T(this, args...).
    template <class T, class... Args> T* MakeChild(Args&&... args)
    {
        return new T(this, std::forward<Args>(args)...);
    }

    virtual void DefaultProcessing(WindowMessage& msg) = 0;
    virtual void ForwardCommand(WindowMessage& msg);
    virtual void DefaultChildNotification(WindowMessage& msg);
    virtual void ForwardNotification(WindowMessage& msg);
    virtual void Dispatch(WindowMessage& msg);
    virtual void OnCommandId(WindowMessage& msg, int id);
    virtual void OnChildNotification(WindowMessage& msg, int id);
    virtual void OnNotification(WindowMessage& msg, int code);
    virtual int ControlId() const;
    virtual const wchar_t* WindowClassName() const;
    virtual void FillWindowClass(WNDCLASSW& windowClass);
    virtual bool EnsureClassRegistered();
    virtual bool Realize() = 0;
    // Size of this object's entry in a transfer record, for every direction.
    virtual std::size_t TransferValues(void* buffer, TransferDirection direction);
    virtual void SetUp();
    virtual void DestroyHandle();
    virtual bool ReadyToClose();
    virtual void OnActivate(WindowMessage& msg);
    virtual void OnCommand(WindowMessage& msg);
    virtual void OnHScroll(WindowMessage& msg);
    virtual void OnVScroll(WindowMessage& msg);
    virtual void OnClose(WindowMessage& msg);
    virtual void OnDestroy(WindowMessage& msg);
    virtual void OnQueryEndSession(WindowMessage& msg);
    virtual void OnExitCommand(WindowMessage& msg);

    void SetFlag(std::uint32_t mask) { flags |= mask; }
    bool HasFlags(std::uint32_t mask) const { return (flags & mask) == mask; }

    // Children first to last, in the order of their construction.
    void ForEachChild(const std::function<void(WindowObject&)>& action) const;
    WindowObject* FirstChildThat(const std::function<bool(WindowObject&)>& test) const;
    int ChildCount() const { return static_cast<int>(children.size()); }

    void ShowHandle(int command);
    void EnableHandle();
    void DisableHandle();
    // Realises the children first to last; the first failure stops the rest.
    bool CreateChildren();
    void TransferAll(TransferDirection direction);
    // Frees this object (and so its window) if closing is allowed.
    void CloseObject();

    HWND Handle() const { return handle; }
    WindowObject* Parent() const { return parent; }
    HWND ParentHandle() const { return parent != nullptr ? parent->handle : nullptr; }
    // A record laid out as the entries of the transfer-enabled children;
    // null (the default) means no transfer.
    void SetTransferBuffer(void* buffer) { transferBuffer = buffer; }

protected:
    bool IsMainWindow() const;
    // Closing is allowed: the application decides for the main window.
    bool ClosingAllowed();

    HWND handle = nullptr;

private:
    friend class WindowBinding;

    void ForwardToControl(WindowMessage& msg, HWND control, int code);
    void RouteScroll(WindowMessage& msg);

    WindowObject* parent = nullptr;
    std::vector<WindowObject*> children;
    std::uint32_t flags = 0;
    void* transferBuffer = nullptr;
};

// The object bound to a window, or null: for 0, for a window without an
// object (a plain system window) and for a destroyed window.
WindowObject* ObjectOfWindow(HWND window);
