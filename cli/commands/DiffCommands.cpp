#include "cli/commands/DiffCommands.h"

#include "config/BackupComparison.h"
#include "config/BackupSources.h"
#include "config/Json.h"
#include "cli/BackupFileArgument.h"
#include "cli/CommandLine.h"
#include "cli/ConverterSession.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "cli/InputFile.h"
#include "cli/LabelledLines.h"
#include "cli/PointFileImport.h"

#include <filesystem>
#include <iostream>
#include <system_error>

namespace {

struct Options {
    std::string first;
    std::string second;
    bool json = false;
};

constexpr std::string_view Usage = "dnx8 diff PORT FILE, dnx8 diff FILE FILE or dnx8 diff PORT PORT";

// A side is a backup file when it names a regular file or ends in .json
// (so a misspelt file name is not taken for a port); anything else is a
// port. A folder or a pipe is neither.
bool isFileSide(const std::string& name)
{
    std::error_code error;
    const std::filesystem::path path = pathFromArgument(name);
    return std::filesystem::is_regular_file(path, error) || path.extension() == ".json";
}

bool loadFileSide(const std::string& name, BackupFile& side)
{
    return loadBackupFile(name, side, Usage);
}

// A converter read as a backup would read it (a failed read would make the
// comparison of that key meaningless).
bool readConverterSide(const GlobalOptions& global, const std::string& name, BackupFile& side)
{
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
    BackupFile left;
    BackupFile right;
    const std::string* names[] = {&options.first, &options.second};
    BackupFile* sides[] = {&left, &right};
    // Files are checked before any converter is asked.
    for (int i = 0; i < 2; ++i) {
        const std::string& name = *names[i];
        if (isFileSide(name)) {
            if (!loadFileSide(name, *sides[i]))
                return exit_code::BadUsage;
        } else if (const std::string kind = notRegularFileKind(name);
                   !kind.empty() && kind != "a terminal device") {
            return fail(exit_code::BadUsage, name + " is " + kind + ", neither a backup file nor a port; use " +
                                                 std::string(Usage) + ". Nothing was sent.");
        }
    }
    for (int i = 0; i < 2; ++i)
        if (!isFileSide(*names[i]) && !readConverterSide(global, *names[i], *sides[i]))
            return exit_code::DeviceFailed;

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
    if (left.note || right.note)
        shown.push_back({"note", left.note.value_or("-"), right.note.value_or("-")});
    if (!left.sensor.empty() || !right.sensor.empty())
        shown.push_back(
            {"Sensor", left.sensor.empty() ? "-" : left.sensor, right.sensor.empty() ? "-" : right.sensor});

    const BackupComparison comparison = compareBackups(left, right);
    const std::vector<ConfigurationDifference>& differences = comparison.differences;
    const std::vector<ConfigurationDifference>& unused = comparison.unused;
    if (options.json) {
        printJson(std::cout, comparisonJson(options.first, options.second, left, right, comparison));
        return differences.empty() ? exit_code::Done : exit_code::Mismatch;
    }
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
    // Shown for the record, never counted: the converter does not compute with them.
    for (const ConfigurationDifference& d : unused)
        print(d.name, d.left, d.right + "  (unused: CurveDegree " +
                                  (left.configuration.curveDegree ? std::to_string(*left.configuration.curveDegree)
                                                                  : std::string("-")) + ")");
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
        "diff", "Compare a converter with a backup file, two backup files or two converters: every differing parameter",
        [&commandLine, options] { return runDiff(commandLine.global(), *options); });
    diff->add_option("SOURCE", options->first, "A serial port (PORT) or a backup file (FILE)")->required();
    diff->add_option("OTHER", options->second, "A backup file (FILE) or a second serial port (PORT)")->required();
    diff->add_flag("--json", options->json,
                   "JSON: {\"sources\", \"sides\", \"equal\", \"differences\": [{\"name\", \"left\", "
                   "\"right\"}], \"unused\"}, values exactly as text");
    diff->footer(
        "Identity, firmware and serial number are shown but never counted: a clone has another serial "
        "number. Coefficients above CurveDegree (all of them at degree 0) are shown as unused and not "
        "counted. Exit 0 when the configurations are equal, 3 when they differ.");
}
