#include "cli/Console.h"

#include "framework/WideText.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<bool> stopFlag{false};
UINT previousCodePage = 0;

BOOL WINAPI requestStop(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        stopFlag = true;
        return TRUE;
    }
    return FALSE;
}

} // namespace

Console::Console()
{
    // The texts are UTF-8; the console shows them so whatever its language.
    previousCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCtrlHandler(requestStop, TRUE);
}

Console::~Console()
{
    SetConsoleCtrlHandler(requestStop, FALSE);
    // The console outlives the program: give it back as it was.
    if (previousCodePage != 0)
        SetConsoleOutputCP(previousCodePage);
}

bool Console::stopRequested()
{
    return stopFlag;
}

bool Console::outputIsTerminal()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

int Console::stopSignal()
{
    return stopFlag ? 2 : 0; // Ctrl+C and Ctrl+Break count as SIGINT
}

std::vector<std::string> utf8Arguments(int argc, wchar_t** argv)
{
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(Narrow(argv[i]));
    return arguments;
}
