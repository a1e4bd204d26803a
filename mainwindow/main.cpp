// Entry point of config.exe: the application and its one main window.
#include "framework/Application.h"
#include "mainwindow/MainWindow.h"

#include <windows.h>

namespace {

class ConfigApplication : public Application {
public:
    using Application::Application;

    std::unique_ptr<Window> CreateMainWindow() override
    {
        return std::make_unique<::MainWindow>(nullptr, Name());
    }
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    ConfigApplication application("DNX8 config");
    application.Start();
    application.RunLoop();
    return 0;
}
