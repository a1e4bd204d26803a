#include "cli/commands/InputCommands.h"

#include "config/InputRequest.h"

#include "cli/CommandLine.h"
#include "cli/ConfigurationText.h"
#include "cli/ConverterSession.h"
#include "cli/DryRunOutput.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "cli/LabelledLines.h"
#include "cli/PointFileImport.h"
#include "inputs/SensorCatalogs.h"
#include "cli/UserNumberOptions.h"
#include "config/Configuration.h"
#include "config/ConfigurationJson.h"
#include "config/WriteOutcome.h"
#include "config/UserNumbers.h"
#include "device/ParameterTexts.h"
#include "framework/NumberText.h"
#include "inputs/InputWrites.h"
#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"

#include <algorithm>
#include <functional>
#include <iostream>
#include <memory>

namespace texts = parameter_texts;

namespace {

using namespace input_words;

struct Options {
    std::string port;
    std::string variant;
    std::string wiring;
    std::string mode;
    std::string sensor;
    std::string type;
    std::string compensation;
    std::string divider;
    std::string shunt;
    std::vector<std::string> range;
    bool keepLinearization = false;
    std::string points;
    FitChoice fit;
    bool dryRun = false;
    bool json = false;
};

// Reads the range and linearization choice of the four plain kinds.
bool chooseLinearization(const Options& options, InputRequest& request)
{
    if (!options.range.empty()) {
        request.linearization = LinearizationChoice::Mode::Off;
        request.rangeMin = *readUserReal(options.range[0]);
        request.rangeMax = *readUserReal(options.range[1]);
    } else if (!options.points.empty()) {
        request.table = std::make_unique<LinearizationTable>();
        PointSet pointSet;
        std::string problem;
        if (!importPointFile(options.points, options.fit, *request.table, pointSet, problem)) {
            fail(exit_code::BadUsage, problem + ". Nothing was sent.");
            return false;
        }
        request.linearization = LinearizationChoice::Mode::Overwrite;
    } else {
        request.linearization = LinearizationChoice::Mode::Keep;
    }
    return true;
}

void addLinearizationOptions(CLI::App* kind, Options& o)
{
    CLI::Option_group* group = kind->add_option_group(
        "linearization", "Exactly one of: --range MIN MAX, --keep-linearization, --linearization POINTS");
    group->add_option("--range", o.range, "Linearization off (\"Vypnuta\") with this range")
        ->expected(2)
        ->type_name("MIN MAX")
        ->check(userReal());
    group->add_flag("--keep-linearization", o.keepLinearization,
                    "Keep the converter's range and linearization (\"Zapnuta\")");
    CLI::Option* points =
        group->add_option("--linearization", o.points,
                          "Overwrite it (\"Přepsat\") with the fit of a point file and the file's x range");
    points->type_name("POINTS");
    group->require_option(1);
    addFitChoiceOptions(kind, o.fit);
    kind->get_option("--order")->needs(points);
    kind->get_option("--spline")->needs(points);
    kind->get_option("--strict")->needs(points);
}

int runInputCommand(const GlobalOptions& global, const Options& options, InputJob& job)
{
    // Without a line the converter's own divider or shunt cannot be read
    // back, so an untouched one is not written.
    if (options.dryRun)
        return printDryRun(global, [&](ConverterLink& link) { writeInput(link, job); });
    auto session = openConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;
    ConverterLink& link = *session->link;
    // Writes back what a dialog's untouched edit holds: the converter's own
    // value, bit for bit; when it cannot be read it is not written.
    for (const std::string& name : takeConverterValues(link, job))
        std::cerr << "dnx8: the converter's " << name << " could not be read; it is left as it is.\n";

    const InputResult result = runInput(link, job);
    const bool answered = result.complete;
    const WriteCheck& check = result.check;
    LabelledLines lines;
    addInputLines(lines, result.held);
    if (options.json)
        printJson(std::cout, inputResultJson(result));
    else
        lines.print(std::cout);
    if (!answered) {
        for (const std::string& line : result.outcome.lines("the same dnx8 input command again"))
            std::cerr << "dnx8: " << line << '\n';
        return fail(exit_code::DeviceFailed, "the input's write sequence was interrupted; check the cable.");
    }
    if (!check.unread.empty()) {
        std::string names;
        for (const std::string& name : check.unread)
            names += " " + name;
        return fail(exit_code::DeviceFailed, "every write was confirmed, but could not read back:" + names +
                                                 "; check the cable and run dnx8 read " + options.port + ".");
    }
    if (!check.differences.empty()) {
        std::string_view shown;
        for (const ConfigurationDifference& d : check.differences) {
            // One line a key: the polynomial as a whole.
            if (d.key == shown)
                continue;
            shown = d.key;
            const bool polynomial = d.key == "CurveCoefficients";
            std::cerr << "dnx8: " << d.key << ": asked " << (polynomial ? "[polynomial]" : d.left)
                      << ", the converter holds " << (polynomial ? "[polynomial]" : d.right) << '\n';
        }
        return fail(exit_code::Mismatch, "the converter holds another input than asked (it clips values it "
                                         "does not accept); see the list above.");
    }
    return exit_code::Done;
}

// The request from the parsed options; false after telling why.
bool requestOf(const Options& o, InputKind kind, InputRequest& request)
{
    request.kind = kind;
    request.variant = std::max(indexOf(kind == InputKind::Voltage ? VoltageVariants : CurrentVariants, o.variant), 0);
    request.wiring = std::max(indexOf(kind == InputKind::Potentiometer ? PotentiometerWirings : Wirings, o.wiring), 0);
    request.mode = std::max(indexOf(PotentiometerModes, o.mode), 0);
    request.sensor = std::max(indexOf(RtdSensors, o.sensor), 0);
    request.type = std::max(indexOf(ThermocoupleTypes, o.type), 0);
    request.compensation = std::max(indexOf(Compensations, o.compensation), 0);
    if (!o.divider.empty())
        request.divider = *readUserReal(o.divider);
    if (!o.shunt.empty())
        request.shunt = *readUserReal(o.shunt);
    return !isPlainKind(kind) || chooseLinearization(o, request);
}

// The common frame of every kind: its subcommand, and the job built from
// the options once they are parsed.
CLI::App* addKind(CommandLine& commandLine, CLI::App& input, const std::string& name, const std::string& help,
                  const std::shared_ptr<Options>& options, InputKind kind)
{
    CLI::App* cli = commandLine.add(input, name, help, [&commandLine, options, kind] {
        InputRequest request;
        if (!requestOf(*options, kind, request))
            return exit_code::BadUsage;
        InputProblem problem;
        std::optional<InputJob> job = prepareInput(std::move(request), problem);
        if (!job)
            return fail(exit_code::BadUsage, "--" + problem.option + ": " + problem.message + ". Nothing was sent.");
        return runInputCommand(commandLine.global(), *options, *job);
    });
    // The usage line CLI11 prints leaves out the group's PORT.
    cli->footer("Usage: dnx8 input PORT " + name + " [OPTIONS] [--dry-run] [--json]");
    return cli;
}

void addChoice(CLI::App* kind, const std::string& name, std::string& target,
               const std::vector<std::string>& names, const std::string& help)
{
    // Any case: --type k, --variant 1v; the value becomes the listed name.
    kind->add_option(name, target, help)->required()->transform(CLI::IsMember(names, CLI::ignore_case));
}

} // namespace

void addInputCommands(CommandLine& commandLine)
{
    auto o = std::make_shared<Options>();
    CLI::App* input = commandLine.addGroup(
        "input", "Configure the input with the dialogs' write sequences, then read it back and compare");
    input->add_option("PORT", o->port, "Serial port: a device path (/dev/ttyUSB0) or a name (COM3)")
        ->required();
    input->add_flag("--json", o->json,
                    "JSON: {\"configuration\" as read back, \"writes\", \"complete\", \"unread\", "
                    "\"mismatches\": [{\"name\", \"asked\", \"held\"}]}");
    input->add_flag("--dry-run", o->dryRun,
                    "Check the options and print the frames of the write sequence; send nothing, open nothing");
    input->footer("Run dnx8 input PORT KIND --help for a kind's options. Example:\n"
                  "  dnx8 input /dev/ttyUSB0 thermocouple --type K --compensation internal");

    CLI::App* voltage =
        addKind(commandLine, *input, "voltage", "Voltage input (\"Napětí\")", o, InputKind::Voltage);
    addChoice(voltage, "--variant", o->variant, VoltageVariants, "100mV, 1V or 10V");
    voltage
        ->add_option(
            "--divider", o->divider,
            "Divider for 100mV and 1V (default: the converter's own, written back as the dialog does)")
        ->type_name("D")
        ->check(positiveUserReal());
    addLinearizationOptions(voltage, *o);

    CLI::App* current =
        addKind(commandLine, *input, "current", "Current input (\"Proud\")", o, InputKind::Current);
    addChoice(current, "--variant", o->variant, CurrentVariants, "shunt (external shunt) or 20mA");
    current
        ->add_option("--shunt", o->shunt,
                     "External shunt in ohms (default: the converter's own, written back as the dialog does)")
        ->type_name("R")
        ->check(positiveUserReal());
    addLinearizationOptions(current, *o);

    CLI::App* resistance =
        addKind(commandLine, *input, "resistance", "Resistance input (\"Odpor\")", o, InputKind::Resistance);
    addChoice(resistance, "--wiring", o->wiring, Wirings,
              "2, 2ks, 3 or 4 wires (2ks: two-wire with compensation)");
    addLinearizationOptions(resistance, *o);

    CLI::App* potentiometer = addKind(commandLine, *input, "potentiometer",
                                      "Potentiometer input (\"Potenciometr\")", o, InputKind::Potentiometer);
    addChoice(potentiometer, "--mode", o->mode, PotentiometerModes, "absolute or relative");
    addChoice(potentiometer, "--wiring", o->wiring, PotentiometerWirings, "3ks or 4 wires");
    addLinearizationOptions(potentiometer, *o);

    CLI::App* rtd =
        addKind(commandLine, *input, "rtd", "Resistance thermometer (\"Teploměr\")", o, InputKind::Rtd);
    addChoice(rtd, "--sensor", o->sensor, RtdSensors,
              "pt100, pt1000, ni100-5000, ni1000-5000, ni100-6180, ni1000-6180");
    addChoice(rtd, "--wiring", o->wiring, Wirings, "2, 2ks, 3 or 4 wires");

    CLI::App* thermocouple = addKind(commandLine, *input, "thermocouple", "Thermocouple (\"Termočlánek\")", o,
                                     InputKind::Thermocouple);
    addChoice(thermocouple, "--type", o->type, ThermocoupleTypes, "B, E, J, K, L, N, R, S or T");
    addChoice(thermocouple, "--compensation", o->compensation, Compensations,
              "Cold junction: internal, 2wire or 3wire");
}
