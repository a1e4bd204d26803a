#pragma once

#include "framework/BaseObject.h"
#include "framework/DialogObject.h"
#include "framework/Window.h"

#include <windows.h>

#include <memory>
#include <string>

// The one object that owns the main window, runs the message loop of the
// user-interface thread and runs dialogs modally. A program derives from it
// to create its own main window:
//
//   class ConfigApplication : public Application {
//       using Application::Application;
//       std::unique_ptr<Window> CreateMainWindow() override
//       { return std::make_unique<MainWindow>(nullptr, Name()); }
//   };
//   ConfigApplication app("DNX8 config");
//   app.Start();   // creates and shows the main window
//   app.RunLoop(); // until the main window is closed
class Application : public BaseObject {
public:
    // Starts the framework (registers the object message, initialises the
    // common controls) and becomes the process's application.
    explicit Application(std::string name);
    // Frees a main window that is still open.
    ~Application() override;

    // The process's application, or null.
    static Application* Instance();

    // Creates the main window, realises it (or discards it) and shows it.
    virtual void Start();
    // A plain Window titled with the name; programs create their own.
    virtual std::unique_ptr<Window> CreateMainWindow();
    // Idle work; false when there is none (the loop then waits).
    virtual bool OnIdle();
    virtual bool ReadyToClose();

    // Returns when WM_QUIT is received, at once without a main window.
    void RunLoop();
    // Takes one message from the queue; false when it was empty.
    bool PumpOne();
    // True when the message was consumed (dialog keys, accelerators).
    bool PreTranslate(MSG& msg);

    // Runs the dialog modally and frees it: the dialog's EndDialog value
    // (1 OK, 2 Cancel), -1 when the box cannot be created, 2 for null.
    int RunModal(std::unique_ptr<DialogObject> dialog);

    // Realises the window, or frees it and gives null when that fails.
    template <class T> T* CreateOrDiscard(std::unique_ptr<T> window)
    {
        if (window == nullptr)
            return nullptr;
        if (!window->Realize()) {
            window.release()->Free();
            return nullptr;
        }
        return window.release();
    }

    void SetDialogKeysWindow(WindowObject* window) { dialogKeysWindow = window; }
    WindowObject* DialogKeysWindow() const { return dialogKeysWindow; }
    Window* MainWindow() const { return mainWindow; }
    const std::string& Name() const { return name; }
    bool QuitReceived() const { return quitReceived; }

protected:
    std::string name;
    Window* mainWindow = nullptr;
    WindowObject* dialogKeysWindow = nullptr;
    WindowObject* mdiClient = nullptr;
    HACCEL accelerators = nullptr;
    bool quitReceived = false;

private:
    friend class WindowObject;
    // A window object being destroyed drops every reference to it.
    void Forget(const WindowObject* window);
};
