#include "framework/Application.h"

#include "framework/WindowBinding.h"

#include <utility>

namespace {

Application* instance = nullptr;

} // namespace

Application::Application(std::string applicationName) : name(std::move(applicationName))
{
    StartFramework();
    instance = this;
}

Application::~Application()
{
    // No longer the main window: its end must not post a quit message that
    // nobody will take.
    if (Window* window = std::exchange(mainWindow, nullptr))
        window->Free();
    if (instance == this)
        instance = nullptr;
}

Application* Application::Instance()
{
    return instance;
}

void Application::Start()
{
    std::unique_ptr<Window> window = CreateMainWindow();
    // Known as the main window while it is being realised.
    mainWindow = window.get();
    mainWindow = CreateOrDiscard(std::move(window));
    if (mainWindow != nullptr)
        mainWindow->ShowHandle(SW_SHOWNORMAL);
}

std::unique_ptr<Window> Application::CreateMainWindow()
{
    return std::make_unique<Window>(nullptr, name);
}

bool Application::OnIdle()
{
    return false;
}

bool Application::ReadyToClose()
{
    return mainWindow == nullptr || mainWindow->ReadyToClose();
}

void Application::RunLoop()
{
    if (mainWindow == nullptr)
        return;
    do {
        if (!PumpOne() && !OnIdle())
            WaitMessage();
    } while (!quitReceived);
}

bool Application::PumpOne()
{
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        quitReceived = true;
    } else if (!PreTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

bool Application::PreTranslate(MSG& msg)
{
    if (mdiClient != nullptr && mdiClient->Handle() != nullptr &&
        TranslateMDISysAccel(mdiClient->Handle(), &msg) != 0)
        return true;
    if (mainWindow != nullptr && mainWindow->Handle() != nullptr && accelerators != nullptr &&
        TranslateAcceleratorW(mainWindow->Handle(), accelerators, &msg) != 0)
        return true;
    return dialogKeysWindow != nullptr && dialogKeysWindow->Handle() != nullptr &&
           IsDialogMessageW(dialogKeysWindow->Handle(), &msg) != 0;
}

int Application::RunModal(std::unique_ptr<DialogObject> dialog)
{
    if (dialog == nullptr)
        return IDCANCEL;
    const auto result = static_cast<int>(dialog->RunDialogBox());
    dialog.release()->Free();
    return result;
}

void Application::Forget(const WindowObject* window)
{
    if (mainWindow == window)
        mainWindow = nullptr;
    if (dialogKeysWindow == window)
        dialogKeysWindow = nullptr;
    if (mdiClient == window)
        mdiClient = nullptr;
}
