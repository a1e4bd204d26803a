#pragma once

#include "framework/WindowObject.h"

#include <string>
#include <string_view>

// A window object that creates its own window (class "CfgWindow" unless a
// derived type names another), or binds to an existing dialog item.
class Window : public WindowObject {
public:
    // A top-level window (parent null) gets WS_OVERLAPPEDWINDOW, a child
    // WS_CHILD | WS_VISIBLE; both at CW_USEDEFAULT. An empty title means none.
    Window(WindowObject* parent, std::string_view title);
    // Binds to the parent's dialog item id when realised (FromTemplate).
    Window(WindowObject* parent, int id);
    ~Window() override;

    void DefaultProcessing(WindowMessage& msg) override;
    void Dispatch(WindowMessage& msg) override;
    int ControlId() const override;
    void FillWindowClass(WNDCLASSW& windowClass) override;
    bool Realize() override;
    void OnActivate(WindowMessage& msg) override;

    virtual void CreateHandle(HWND parentHandle);
    virtual void PaintContent(PAINTSTRUCT& paint);
    virtual void OnCreate(WindowMessage& msg);
    virtual void OnPaint(WindowMessage& msg);
    virtual void OnMove(WindowMessage& msg);
    virtual void OnSize(WindowMessage& msg);
    virtual void OnSysCommand(WindowMessage& msg);

    void SaveFocus();
    void RestoreFocus();
    void UpdatePlacement();

    // Creation attributes; set them before Realize.
    DWORD Style() const { return style; }
    void SetStyle(DWORD value) { style = value; }
    DWORD ExStyle() const { return exStyle; }
    void SetExStyle(DWORD value) { exStyle = value; }
    void SetPlacement(int left, int top, int newWidth, int newHeight);
    int X() const { return x; }
    int Y() const { return y; }
    int Width() const { return width; }
    int Height() const { return height; }
    void SetCreateParam(void* param) { createParam = param; }
    // A top-level window's menu, or a child's control id.
    void SetMenuOrId(UINT_PTR value) { menuOrId = value; }
    const std::wstring& Title() const { return title; }

protected:
    std::wstring title;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    void* createParam = nullptr;
    UINT_PTR menuOrId = 0;
    // The window's own procedure before binding: what DefaultProcessing calls.
    WNDPROC previousProcedure = nullptr;
    HWND savedFocus = nullptr;
};
