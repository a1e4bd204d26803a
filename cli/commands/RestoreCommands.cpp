#include "cli/commands/RestoreCommands.h"

#include "config/BackupSources.h"
#include "cli/BackupFileArgument.h"
#include "cli/CommandLine.h"
#include "cli/ConverterSession.h"
#include "cli/DryRunOutput.h"
#include "device/DryRunTransport.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "cli/LabelledLines.h"
#include "cli/PointFileImport.h"
#include "config/RestorePlan.h"
#include "config/RestoreRun.h"
#include "config/WriteOutcome.h"
#include "device/TracingTransport.h"
#include "framework/NumberText.h"

#include <iostream>
#include <memory>

namespace {

using protocol::Parameter;

struct Options {
    std::string port;
    std::string file;
    bool dryRun = false;
    bool json = false;
    bool keepLinearization = false;
    std::string points;
    FitChoice fit;
};

int runRestoreCommand(const GlobalOptions& global, const Options& options)
{
    BackupFile file;
    if (!loadBackupFile(options.file, file, "dnx8 restore PORT FILE"))
        return exit_code::BadUsage;
    RestoreLinearization linearization;
    LinearizationTable table;
    if (options.keepLinearization) {
        linearization.source = RestoreLinearization::Source::Keep;
    } else if (!options.points.empty()) {
        PointSet pointSet;
        std::string problem;
        if (!importPointFile(options.points, options.fit, table, pointSet, problem))
            return fail(exit_code::BadUsage, problem + ". Nothing was sent.");
        linearization = {RestoreLinearization::Source::Overwrite, &table};
    }
    RestorePlan plan;
    std::vector<std::string> faults;
    if (!planRestore(file, linearization, plan, faults)) {
        for (const std::string& fault : faults)
            std::cerr << "dnx8: " << options.file << ": " << fault << '\n';
        return fail(exit_code::BadUsage, "nothing was sent.");
    }
    for (const std::string& note : plan.notes)
        std::cerr << "dnx8: " << note << ".\n";
    if (options.dryRun)
        return printDryRun(global, [&](ConverterLink& link) { runRestore(link, plan); });

    auto session = openConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;
    ConverterLink& link = *session->link;
    const RestoreResult result = restoreAndVerify(link, plan, session->identity);
    if (result.outcome == RestoreResult::Outcome::Interrupted) {
        if (options.json)
            printJson(std::cout, restoreResultJson(result));
        for (const std::string& line : result.writes.lines("dnx8 restore " + options.port + " " + options.file))
            std::cerr << "dnx8: " << line << '\n';
        return fail(exit_code::DeviceFailed, "the restore was interrupted (" +
                                                 std::string(linkFailureText(result.failure)) +
                                                 "); check the cable.");
    }
    if (result.outcome == RestoreResult::Outcome::Unread) {
        std::string names;
        for (const std::string& name : result.unread)
            names += " " + name;
        return fail(exit_code::DeviceFailed, "every write was confirmed, but could not read back:" + names +
                                                 "; check the cable and run dnx8 diff " + options.port + " " +
                                                 options.file + ".");
    }
    const std::vector<ConfigurationDifference>& differences = result.differences;
    if (options.json)
        printJson(std::cout, restoreResultJson(result));
    for (const ConfigurationDifference& d : differences)
        std::cerr << "dnx8: " << d.name << ": asked " << d.left << ", the converter holds " << d.right << '\n';
    if (!differences.empty())
        return fail(exit_code::Mismatch, "the converter holds another configuration than " + options.file +
                                             " (it clips values it does not accept); see the list above.");
    if (!options.json)
        std::cout << "Restored " << options.file << " into " << options.port << " and read it back: equal.\n";
    return exit_code::Done;
}

} // namespace

void addRestoreCommands(CommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    CLI::App* restore = commandLine.add(
        "restore", "Write a backup file into a converter, then read it back and compare",
        [&commandLine, options] { return runRestoreCommand(commandLine.global(), *options); });
    restore->add_option("PORT", options->port, "Serial port: a device path (/dev/ttyUSB0) or a name (COM3)")
        ->required();
    restore->add_option("FILE", options->file, "The backup file (from dnx8 backup)")->required();
    restore->add_flag("--json", options->json,
                      "JSON: {\"restored\", \"writes\": {\"confirmed\", \"unconfirmed\", \"refused\", "
                      "\"notSent\"}, \"equal\", \"differences\": [{\"name\", \"asked\", \"held\"}]}");
    restore->add_flag("--dry-run", options->dryRun,
                      "Check the file and print the frames restore would send; send nothing, open nothing");
    CLI::Option* keep =
        restore->add_flag("--keep-linearization", options->keepLinearization,
                          "Write the input type only: the converter keeps its own range and linearization");
    CLI::Option* points = restore
                              ->add_option("--linearization", options->points,
                                           "Overwrite the range and linearization with the fit of this "
                                           "point file (as \"Přepsat\"), instead of the file's")
                              ->option_text("POINTS");
    keep->excludes(points);
    addFitChoiceOptions(restore, options->fit);
    restore->get_option("--order")->needs(points);
    restore->get_option("--spline")->needs(points);
    restore->get_option("--strict")->needs(points);
    restore->footer(
        "A segment table, or a thermocouple that matches no built-in type, cannot be restored from "
        "a backup: such a file needs --keep-linearization or --linearization. The file is "
        "described in docs/backup-format.md.");
}
