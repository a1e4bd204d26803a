#include "cli/commands/ReportCommands.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "report/CommissioningRecord.h"
#include "config/ConverterReading.h"
#include "cli/ConverterSession.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "config/LocalTime.h"
#include "cli/OutputArgument.h"
#include "cli/PointFileImport.h"
#include "linearization/LinearizationTable.h"
#include "report/RecordParticulars.h"

#include <chrono>
#include <iostream>
#include <memory>
#include <optional>

namespace {

struct Options {
    std::string port;
    std::string output;
    std::string linearization;
    FitChoice choice;
    RecordParticulars particulars;
};

int runReport(const GlobalOptions& global, const Options& given)
{
    // What the user gave is checked before the converter is read.
    Options options = given;
    for (const RecordParticulars::Field& field : ParticularsFields) {
        const std::string problem = particularsProblem(field, options.particulars.*field.member);
        if (!problem.empty())
            return fail(exit_code::BadUsage, "--" + std::string(field.name) + " " + problem + ".");
    }
    LinearizationTable table;
    if (!options.linearization.empty()) {
        PointSet pointSet;
        std::string problem;
        if (!importPointFile(options.linearization, options.choice, table, pointSet, problem))
            return fail(exit_code::BadUsage, problem + ".");
    }
    std::optional<OutputFile> output;
    if (!openOutputBeforeSending(options.output, output))
        return exit_code::BadUsage;

    auto session = openConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;
    const auto readAt = std::chrono::system_clock::now();
    const ConverterReading reading = readConverter(*session->link, ReadScope::All, session->identity);
    session.reset();

    RecordCircumstances circumstances{options.port, recordTimeText(readAt), nullptr, {}, options.particulars};
    if (!options.linearization.empty()) {
        circumstances.linearization = &table;
        const std::u8string name = pathFromArgument(options.linearization).filename().u8string();
        circumstances.linearizationFile.assign(name.begin(), name.end());
    }
    const RecordPage record = commissioningRecord(reading, circumstances);
    const std::string page = recordPageHtml(record);
    // A page of HTML is no use on a screen: a terminal gets a file instead.
    std::string written = options.output;
    if (!output && Console::outputIsTerminal()) {
        const std::string serial = reading.serialNumber ? std::to_string(*reading.serialNumber) : "unknown";
        written = "record-" + serial + "-" + localTimeStamp(readAt).substr(0, 10) + ".html";
        output.emplace(written);
        if (!output->create())
            return fail(exit_code::BadUsage, "cannot write " + written + " in this folder; give -o FILE.html.");
    }
    if (!output)
        std::cout << page << std::flush;
    else if (!output->commit(page))
        return fail(exit_code::BadUsage, "cannot write " + written + "; check the free space.");
    if (written != options.output)
        std::cerr << "dnx8: the record is in " << written << ".\n";

    const auto failed = reading.failedReads();
    if (record.linearizationDiffers) {
        const int code = fail(exit_code::Mismatch, "the converter holds another linearization than the fit of " +
                                                       options.linearization +
                                                       " (the page says so too); check the point file and --order "
                                                       "or --spline, or write it with dnx8 input.");
        if (failed.empty())
            return code;
    }
    if (failed.empty())
        return exit_code::Done;
    std::string names;
    for (std::string_view name : failed)
        names += (names.empty() ? "" : ", ") + std::string(name);
    return fail(exit_code::DeviceFailed, "the converter did not answer every read (" + names +
                                             "); the record shows \"Chyba komunikace\" in their place. Check "
                                             "the cable and run the report again.");
}

} // namespace

void addReportCommands(CommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    CLI::App* report = commandLine.add(
        "report",
        "Commissioning record: one self-contained HTML page (printable on A4) with the converter's identity, "
        "input, range, filter, scale, error state, relays, a snapshot of the live values, a plot of the "
        "curve it applies and lines to sign; --tag, --location, --technician and --note name the measuring point",
        [&commandLine, options] { return runReport(commandLine.global(), *options); });
    report->add_option("PORT", options->port, "Serial port: a device path (/dev/ttyUSB0) or a name (COM3)")
        ->required();
    report->add_option("-o,--output", options->output, "Write the page to FILE (default: standard output; to a terminal, record-SERIAL-DATE.html)")
        ->type_name("FILE.html");
    CLI::Option* points =
        report
            ->add_option("--linearization", options->linearization,
                         "The point file of the converter's user linearization: its fit is drawn")
            ->type_name("POINTS");
    addFitChoiceOptions(report, options->choice);
    const char* const help[] = {"The measuring point's tag (e.g. TT-101)",
                                "Where the measuring point is (plant, building, line)",
                                "Who commissioned it; printed above the technician's signature line",
                                "A note for the customer"};
    static_assert(std::size(help) == ParticularsFields.size());
    for (std::size_t i = 0; i < ParticularsFields.size(); ++i) {
        const RecordParticulars::Field& field = ParticularsFields[i];
        std::string text = std::string(help[i]) + ", at most " + std::to_string(field.maxCharacters) + " characters";
        if (field.maxLines > 1)
            text += " in at most " + std::to_string(field.maxLines) + " lines";
        report->add_option("--" + std::string(field.name), options->particulars.*field.member, text)
            ->type_name("TEXT");
    }
    report->get_option("--order")->needs(points);
    report->get_option("--spline")->needs(points);
}
