#include "cli/Console.h"

#include <csignal>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t stopFlag = 0;

void requestStop(int signal)
{
    stopFlag = signal;
}

} // namespace

Console::Console()
{
    // Without SA_RESTART a wait in progress returns at once.
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

Console::~Console()
{
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
}

bool Console::stopRequested()
{
    return stopFlag != 0;
}

int Console::stopSignal()
{
    return stopFlag;
}

bool Console::outputIsTerminal()
{
    return ::isatty(STDOUT_FILENO) != 0;
}
