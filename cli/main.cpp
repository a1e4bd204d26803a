// dnx8: the command-line companion of config.exe.
#include "cli/commands/BackupCommands.h"
#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/Failure.h"
#include "cli/commands/DiffCommands.h"
#include "cli/commands/DoctorCommands.h"
#include "cli/commands/FitCommands.h"
#include "cli/commands/InfoCommands.h"
#include "cli/commands/InputCommands.h"
#include "cli/commands/PortsCommands.h"
#include "cli/commands/ReportCommands.h"
#include "cli/commands/RestoreCommands.h"
#include "cli/commands/ServeCommands.h"
#include "cli/commands/SetCommands.h"
#include "cli/commands/WatchCommands.h"

#include <string>
#include <vector>

namespace {

int runDnx8(const std::vector<std::string>& arguments)
{
    Console console;
    CommandLine commandLine;
    // In the order `dnx8 --help` lists them.
    addPortsCommands(commandLine);
    addInfoCommands(commandLine);
    addWatchCommands(commandLine);
    addSetCommands(commandLine);
    addInputCommands(commandLine);
    addFitCommands(commandLine);
    addReportCommands(commandLine);
    addBackupCommands(commandLine);
    addRestoreCommands(commandLine);
    addDiffCommands(commandLine);
    addServeCommands(commandLine);
    addDoctorCommands(commandLine);
    const int result = commandLine.run(arguments);
    // Whatever the command managed to say, a stop asked from outside ends
    // with the shell's code for that signal.
    if (const int signal = Console::stopSignal(); signal != 0 && !Console::stopIsNormalEnd()) {
        fail(128 + signal, signal == 15 ? "stopped by SIGTERM." : "stopped by Ctrl+C (SIGINT).");
        return 128 + signal;
    }
    return result;
}

} // namespace

#if defined(_WIN32)
int wmain(int argc, wchar_t** argv)
{
    return runDnx8(utf8Arguments(argc, argv));
}
#else
int main(int argc, char** argv)
{
    return runDnx8(std::vector<std::string>(argv, argv + argc));
}
#endif
