#include "cli/commands/BackupCommands.h"

#include "config/BackupSources.h"
#include "config/BackupText.h"
#include "cli/CommandLine.h"
#include "cli/ConverterSession.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "cli/OutputArgument.h"
#include "cli/PointFileImport.h"

#include <iostream>

namespace {

struct Options {
    std::string port;
    std::string output;
    bool partial = false;
    std::optional<std::string> note;
};

int runBackup(const GlobalOptions& global, const Options& options)
{
    std::optional<OutputFile> output;
    if (!openOutputBeforeSending(options.output, output))
        return exit_code::BadUsage;
    auto session = openConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;
    BackupFile file = backupOf(readConverter(*session->link, ReadScope::All, session->identity));
    file.note = options.note;
    session->link->close();

    const std::vector<std::string> failed = failedReads(file);
    if (!failed.empty() && !options.partial)
        return fail(exit_code::DeviceFailed,
                    "the converter did not answer every read (" + listedNames(failed) +
                        "), so no backup was written. Check the cable and try again, "
                        "or give --partial to keep what was read.");
    const std::string text = writeBackupJson(file);
    if (output && !output->commit(text))
        return fail(exit_code::BadUsage, "cannot write " + options.output + "; check the free space.");
    if (!output)
        std::cout << text << std::flush;

    for (const auto& [key, why] : file.missing)
        if (why.rfind("read failed", 0) != 0)
            std::cerr << "dnx8: " << key << " left out of the backup: " << why
                      << "; restore leaves it as the target has it.\n";
    if (!failed.empty())
        std::cerr << "dnx8: partial backup, without " << listedNames(failed)
                  << "; restore leaves those as the target has them.\n";
    for (const std::string& obstacle : file.notRestorable)
        std::cerr << "dnx8: this backup cannot restore the converter in full: " << obstacle << ".\n";
    return exit_code::Done;
}

} // namespace

void addBackupCommands(CommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    CLI::App* backup = commandLine.add(
        "backup", "The configuration as a JSON backup file (standard output without -o); only reads",
        [&commandLine, options] { return runBackup(commandLine.global(), *options); });
    backup->add_option("PORT", options->port, "Serial port: a device path (/dev/ttyUSB0) or a name (COM3)")
        ->required();
    backup->add_option("-o,--output", options->output, "Write the backup to FILE (replaced as a whole)")
        ->option_text("FILE");
    backup->add_flag("--partial", options->partial,
                     "Write the backup even when reads fail, without those parameters (\"partial\": true)");
    backup->add_option("--note", options->note, "Free text kept in the file for people (which plant, which pump)")
        ->option_text("TEXT");
    backup->footer("The file is described in docs/backup-format.md. dnx8 restore PORT FILE writes it back.");
}
