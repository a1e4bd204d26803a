#include "cli/commands/DiffCommands.h"

#include "config/BackupSources.h"
#include "cli/BackupFileArgument.h"
#include "cli/CommandLine.h"
#include "cli/ConverterSession.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "cli/LabelledLines.h"
#include "cli/PointFileImport.h"

#include <filesystem>
#include <iostream>
#include <system_error>

namespace {

struct Options {
    std::string first;
    std::string second;
};

// The first side: a backup file, or a converter read as a backup would read
// it (a failed read would make the comparison of that key meaningless).
bool readSide(const GlobalOptions& global, const std::string& name, BackupFile& side, int& failure)
{
    // A name ending in .json is a file even when it is missing, so a
    // misspelt one is not taken for a port.
    const std::filesystem::path path = pathFromArgument(name);
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error) || path.extension() == ".json") {
        failure = exit_code::BadUsage;
        return loadBackupFile(name, side);
    }
    failure = exit_code::DeviceFailed;
    auto session = openConverter(name, global);
    if (!session)
        return false;
    side = backupOf(readConverter(*session->link, ReadScope::All, session->identity));
    std::string failed;
    for (const std::string& key : failedReads(side))
        failed += " " + key;
    if (!failed.empty()) {
        fail(exit_code::DeviceFailed, "the converter on " + name + " did not answer every read (" +
                                          failed.substr(1) + "); check the cable and try again.");
        return false;
    }
    return true;
}

// A key one side lacks, with the reason the file gives for it.
std::string shownValue(const std::string& value, const BackupFile& side, const std::string& name)
{
    if (value != "(none)")
        return value;
    const auto why = side.missing.find(name.substr(0, name.find_first_of(".[")));
    return why == side.missing.end() ? value : "(none: " + why->second + ")";
}

int runDiff(const GlobalOptions& global, const Options& options)
{
    // The file is checked before any converter is asked.
    BackupFile left;
    BackupFile right;
    if (!loadBackupFile(options.second, right))
        return exit_code::BadUsage;
    int failure = exit_code::Done;
    if (!readSide(global, options.first, left, failure))
        return failure;

    struct Row {
        std::string name, left, right;
    };
    std::vector<Row> shown;
    auto text = [](const auto& v) {
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::optional<std::int64_t>>)
            return v ? std::to_string(*v) : std::string("-");
        else
            return v ? *v : std::string("-");
    };
    shown.push_back({"", options.first, options.second});
    shown.push_back({"identity", text(left.identity), text(right.identity)});
    shown.push_back({"firmware", text(left.firmware), text(right.firmware)});
    shown.push_back({"serialNumber", text(left.serialNumber), text(right.serialNumber)});
    if (!left.sensor.empty() || !right.sensor.empty())
        shown.push_back(
            {"Sensor", left.sensor.empty() ? "-" : left.sensor, right.sensor.empty() ? "-" : right.sensor});

    const std::vector<ConfigurationDifference> differences =
        compareConfigurations(left.configuration, right.configuration);
    std::size_t width = 0;
    for (const Row& row : shown)
        width = std::max({width, textWidth(row.name), textWidth(row.left)});
    for (const ConfigurationDifference& d : differences)
        width = std::max({width, textWidth(d.name), textWidth(shownValue(d.left, left, d.name))});
    auto print = [&](const std::string& name, const std::string& a, const std::string& b) {
        std::cout << padRight(name, width + 2) << padRight(a, width + 2) << b << '\n';
    };
    for (const Row& row : shown)
        print(row.name, row.left, row.right);
    std::cout << '\n';
    for (const ConfigurationDifference& d : differences)
        print(d.name, shownValue(d.left, left, d.name), shownValue(d.right, right, d.name));
    if (differences.empty()) {
        std::cout << "The configurations are equal.\n";
        return exit_code::Done;
    }
    std::cout << differences.size()
              << (differences.size() == 1 ? " parameter differs.\n" : " parameters differ.\n");
    return exit_code::Mismatch;
}

} // namespace

void addDiffCommands(CommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    CLI::App* diff = commandLine.add(
        "diff", "Compare a converter with a backup file, or two backup files: every differing parameter",
        [&commandLine, options] { return runDiff(commandLine.global(), *options); });
    diff->add_option("SOURCE", options->first, "A serial port (PORT) or a backup file (FILE)")->required();
    diff->add_option("FILE", options->second, "A backup file")->required();
    diff->footer(
        "Identity, firmware and serial number are shown but never counted: a clone has another serial "
        "number. Exit 0 when the configurations are equal, 3 when they differ.");
}
