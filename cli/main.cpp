// dnx8: the command-line companion of config.exe.
#include "cli/BackupCommands.h"
#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/DiffCommands.h"
#include "cli/FitCommands.h"
#include "cli/InfoCommands.h"
#include "cli/InputCommands.h"
#include "cli/PortsCommands.h"
#include "cli/ReportCommands.h"
#include "cli/RestoreCommands.h"
#include "cli/ServeCommands.h"
#include "cli/SetCommands.h"
#include "cli/WatchCommands.h"

#include <string>
#include <vector>

namespace {

int RunDnx8(const std::vector<std::string>& arguments)
{
    Console console;
    CommandLine commandLine;
    // In the order `dnx8 --help` lists them.
    AddPortsCommands(commandLine);
    AddInfoCommands(commandLine);
    AddWatchCommands(commandLine);
    AddSetCommands(commandLine);
    AddInputCommands(commandLine);
    AddFitCommands(commandLine);
    AddReportCommands(commandLine);
    AddBackupCommands(commandLine);
    AddRestoreCommands(commandLine);
    AddDiffCommands(commandLine);
    AddServeCommands(commandLine);
    return commandLine.run(arguments);
}

} // namespace

#if defined(_WIN32)
int wmain(int argc, wchar_t** argv)
{
    return RunDnx8(Utf8Arguments(argc, argv));
}
#else
int main(int argc, char** argv)
{
    return RunDnx8(std::vector<std::string>(argv, argv + argc));
}
#endif
