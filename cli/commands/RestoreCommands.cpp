#include "cli/commands/RestoreCommands.h"

#include "config/BackupSources.h"
#include "cli/BackupFileArgument.h"
#include "cli/CommandLine.h"
#include "cli/ConverterSession.h"
#include "device/DryRunTransport.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "cli/LabelledLines.h"
#include "cli/PointFileImport.h"
#include "config/RestorePlan.h"
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
    bool keepLinearization = false;
    std::string points;
    FitChoice fit;
};

std::string parameterName(std::uint8_t code)
{
    const Configuration none;
    std::string name;
    forEachKey(
        [&](ConfigurationKey key, const auto&) {
            if (protocol::Code(key.parameter) == code)
                name = key.name;
        },
        none);
    if (!name.empty())
        return name;
    switch (static_cast<Parameter>(code)) {
    case Parameter::Commit:
        return "Commit";
    case Parameter::EmfRange:
        return "EmfRange";
    case Parameter::Segment:
        return "Segment";
    default:
        return "0x" + number_text::HexDigits(code, 2);
    }
}

// Restore without a line: the frames, one per line, named.
int dryRunRestore(const GlobalOptions& global, const RestorePlan& plan)
{
    auto transport = std::make_unique<DryRunTransport>();
    const DryRunTransport& sent = *transport;
    std::unique_ptr<ByteTransport> port = std::move(transport);
    if (global.trace)
        port = std::make_unique<TracingTransport>(std::move(port), std::cerr);
    ConverterLink link(std::move(port));
    runRestore(link, plan);

    std::size_t bytes = 0;
    for (const std::vector<std::uint8_t>& frame : sent.requests) {
        std::string hex;
        for (std::uint8_t b : frame)
            hex += (hex.empty() ? "" : " ") + number_text::HexDigits(b, 2);
        std::cout << padRight(frame.size() > 1 ? parameterName(frame[1]) : "?", 18) << hex << '\n';
        bytes += frame.size();
    }
    std::cout << sent.requests.size() << " requests, " << bytes << " bytes; nothing was sent.\n";
    return exit_code::Done;
}

int runRestoreCommand(const GlobalOptions& global, const Options& options)
{
    BackupFile file;
    if (!loadBackupFile(options.file, file))
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
        return dryRunRestore(global, plan);

    auto session = openConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;
    ConverterLink& link = *session->link;
    const bool answered = runRestore(link, plan);
    const WriteCheck check =
        checkWrites(plan.expected, readConverter(link, ReadScope::All, session->identity).settings);
    if (!answered || !check.unread.empty()) {
        std::string names;
        for (const std::string& name : check.unread)
            names += " " + name;
        return fail(exit_code::DeviceFailed,
                    std::string(answered ? "" : "the converter did not answer every write; ") +
                        (names.empty() ? "" : "could not read back:" + names + "; ") +
                        "check the cable and run the restore again.");
    }
    for (const ConfigurationDifference& d : check.differences)
        std::cerr << "dnx8: " << d.name << ": the file has " << d.left << ", the converter holds " << d.right
                  << '\n';
    if (!check.differences.empty())
        return fail(exit_code::Mismatch, "the converter holds another configuration than " + options.file +
                                             " (it clips values it does not accept); see the list above.");
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
    restore->footer(
        "A segment table, or a thermocouple that matches no built-in type, cannot be restored from "
        "a backup: such a file needs --keep-linearization or --linearization. The file is "
        "described in docs/backup-format.md.");
}
