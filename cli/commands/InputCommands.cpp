#include "cli/commands/InputCommands.h"

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

#include <functional>
#include <iostream>
#include <memory>

namespace texts = parameter_texts;

namespace {

// What the user may type, in the order of the dialogs' lists.
const std::vector<std::string> VoltageVariants = {"100mV", "1V", "10V"};
const std::vector<std::string> CurrentVariants = {"shunt", "20mA"};
const std::vector<std::string> Wirings = {"2", "2ks", "3", "4"};
const std::vector<std::string> PotentiometerModes = {"absolute", "relative"};
const std::vector<std::string> PotentiometerWirings = {"3ks", "4"};
// Catalog order: Pt 100, Ni 100 (5000), Ni 100 (6180), Pt 1000, Ni 1000 (5000), Ni 1000 (6180).
const std::vector<std::string> RtdSensors = {"pt100",  "ni100-5000",  "ni100-6180",
                                             "pt1000", "ni1000-5000", "ni1000-6180"};
const std::vector<std::string> ThermocoupleTypes = {"B", "E", "J", "K", "L", "N", "R", "S", "T"};
const std::vector<std::string> Compensations = {"internal", "2wire", "3wire"};

constexpr int TenVoltVariant = 2;
constexpr int ExternalShuntVariant = 0;

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

int indexIn(const std::vector<std::string>& names, const std::string& name)
{
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<int>(i);
    return -1;
}

// The whole job for one kind: checked settings, then the write sequence.
struct InputJob {
    std::function<bool(ConverterLink&, WaitCursorHook*)> write;
    // What a successful sequence leaves in the converter; only the keys
    // written.
    Configuration expected;
    // Plain kinds: the divider or shunt to write back when not given.
    bool keepDivider = false;
    bool keepShunt = false;
    PlainInput plain;
    LinearizationChoice linearization;
    std::unique_ptr<LinearizationTable> table;
};

// Reads the range and linearization choice of the four plain kinds.
bool chooseLinearization(const Options& options, InputJob& job)
{
    if (!options.range.empty()) {
        job.linearization.mode = LinearizationChoice::Mode::Off;
        job.linearization.rangeMin = *readUserReal(options.range[0]);
        job.linearization.rangeMax = *readUserReal(options.range[1]);
    } else if (!options.points.empty()) {
        job.table = std::make_unique<LinearizationTable>();
        PointSet pointSet;
        std::string problem;
        if (!importPointFile(options.points, options.fit, *job.table, pointSet, problem)) {
            fail(exit_code::BadUsage, problem + ". Nothing was sent.");
            return false;
        }
        job.linearization.mode = LinearizationChoice::Mode::Overwrite;
        job.linearization.table = job.table.get();
    } else {
        job.linearization.mode = LinearizationChoice::Mode::Keep;
    }
    if (const std::optional<StoredLinearization> stored = storedLinearization(job.linearization))
        expectLinearization(job.expected, *stored);
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

// Writes back what a dialog's untouched edit holds: the converter's own
// value, bit for bit; when it cannot be read it is not written.
std::optional<float> converterValue(ConverterLink& link, bool (ConverterLink::*read)(float&),
                                    const char* name)
{
    float value = 0;
    if ((link.*read)(value))
        return value;
    std::cerr << "dnx8: the converter's " << name << " could not be read; it is left as it is.\n";
    return std::nullopt;
}

int runInput(const GlobalOptions& global, const Options& options, InputJob& job)
{
    // Without a line the converter's own divider or shunt cannot be read
    // back, so an untouched one is not written.
    if (options.dryRun)
        return printDryRun(global, [&](ConverterLink& link) { job.write(link, nullptr); });
    auto session = openConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;
    ConverterLink& link = *session->link;
    if (job.keepDivider && !job.plain.divider)
        job.plain.divider = converterValue(link, &ConverterLink::readDivider, "Divider");
    if (job.keepShunt && !job.plain.shunt)
        job.plain.shunt = converterValue(link, &ConverterLink::readShunt, "Shunt");
    job.expected.divider = job.plain.divider;
    job.expected.shunt = job.plain.shunt;

    WriteOutcome outcome;
    const bool answered = runJournalled(link, [&](ConverterLink& l) { job.write(l, nullptr); }, outcome);

    const ConverterReading held = readConverter(link, ReadScope::Input);
    LabelledLines lines;
    addInputLines(lines, held);
    if (!options.json)
        lines.print(std::cout);

    // Exact digits, as restore lists its differences.
    const WriteCheck check = checkWrites(job.expected, held.settings);
    if (options.json) {
        Json list = Json::array();
        for (const ConfigurationDifference& d : check.differences)
            list.push_back(Json{{"name", d.name}, {"asked", d.left}, {"held", d.right}});
        printJson(std::cout, Json{{"configuration", configurationJson(held.settings)},
                                  {"writes", writeOutcomeJson(outcome)},
                                  {"complete", answered},
                                  {"unread", check.unread},
                                  {"mismatches", list}});
    }
    if (!answered) {
        for (const std::string& line : outcome.lines("the same dnx8 input command again"))
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

// The common frame of every kind: its subcommand, and the job built from
// the options once they are parsed.
CLI::App* addKind(CommandLine& commandLine, CLI::App& input, const std::string& name, const std::string& help,
                  const std::shared_ptr<Options>& options,
                  std::function<bool(const Options&, InputJob&)> prepare)
{
    CLI::App* kind = commandLine.add(input, name, help, [&commandLine, options, prepare] {
        InputJob job;
        if (!prepare(*options, job))
            return exit_code::BadUsage;
        return runInput(commandLine.global(), *options, job);
    });
    // The usage line CLI11 prints leaves out the group's PORT.
    kind->footer("Usage: dnx8 input PORT " + name + " [OPTIONS] [--dry-run] [--json]");
    return kind;
}

// The four plain kinds share the sequence and the linearization choice.
bool preparePlain(const Options& options, InputJob& job, std::uint8_t inputType)
{
    job.plain.inputType = inputType;
    job.expected.inputType = inputType;
    if (!chooseLinearization(options, job))
        return false;
    job.write = [&job](ConverterLink& link, WaitCursorHook* hook) {
        return writePlainInput(link, job.plain, job.linearization, hook);
    };
    return true;
}

bool prepareVoltage(const Options& o, InputJob& job)
{
    const int variant = indexIn(VoltageVariants, o.variant);
    if (variant == TenVoltVariant && !o.divider.empty()) {
        fail(exit_code::BadUsage, "--divider: the 10V input has no divider. Nothing was sent.");
        return false;
    }
    // The dialog writes the divider for 100 mV and 1 V.
    if (variant != TenVoltVariant) {
        job.keepDivider = o.divider.empty();
        if (!o.divider.empty())
            job.plain.divider = *readUserReal(o.divider);
    }
    return preparePlain(o, job, static_cast<std::uint8_t>(variant));
}

bool prepareCurrent(const Options& o, InputJob& job)
{
    const int variant = indexIn(CurrentVariants, o.variant);
    if (variant != ExternalShuntVariant && !o.shunt.empty()) {
        fail(exit_code::BadUsage, "--shunt: the 20mA input has its own shunt. Nothing was sent.");
        return false;
    }
    if (variant == ExternalShuntVariant) {
        job.keepShunt = o.shunt.empty();
        if (!o.shunt.empty())
            job.plain.shunt = *readUserReal(o.shunt);
    }
    return preparePlain(o, job, static_cast<std::uint8_t>(texts::FirstCurrentCode + variant));
}

bool prepareResistance(const Options& o, InputJob& job)
{
    return preparePlain(o, job,
                        static_cast<std::uint8_t>(texts::FirstResistanceCode + indexIn(Wirings, o.wiring)));
}

bool preparePotentiometer(const Options& o, InputJob& job)
{
    // code = 9 + 2 * type + connection
    const int code = texts::FirstPotentiometerCode +
                     static_cast<int>(PotentiometerWirings.size()) * indexIn(PotentiometerModes, o.mode) +
                     indexIn(PotentiometerWirings, o.wiring);
    return preparePlain(o, job, static_cast<std::uint8_t>(code));
}

void expectSensor(InputJob& job, const SensorInput& input)
{
    Configuration& e = job.expected;
    e.inputType = input.inputType;
    e.rangeMin = input.rangeMin;
    e.rangeMax = input.rangeMax;
    e.curveDegree = input.degree;
    e.curveCoefficients = input.coefficients;
    e.segmentCount = 0;
}

bool prepareRtd(const Options& o, InputJob& job)
{
    const RtdCurve* rtd = rtds().At(indexIn(RtdSensors, o.sensor));
    const SensorInput input = rtdInput(*rtd, indexIn(Wirings, o.wiring));
    expectSensor(job, input);
    job.write = [input](ConverterLink& link, WaitCursorHook*) { return writeRtdInput(link, input); };
    return true;
}

bool prepareThermocouple(const Options& o, InputJob& job)
{
    const ThermocoupleCurve* type = thermocouples().At(indexIn(ThermocoupleTypes, o.type));
    const SensorInput input = thermocoupleInput(*type, indexIn(Compensations, o.compensation));
    const EmfPieces pieces = thermocouplePieces(*type);
    expectSensor(job, input);
    job.write = [input, pieces](ConverterLink& link, WaitCursorHook* hook) {
        return writeThermocoupleInput(link, input, pieces, hook);
    };
    return true;
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
        addKind(commandLine, *input, "voltage", "Voltage input (\"Napětí\")", o, prepareVoltage);
    addChoice(voltage, "--variant", o->variant, VoltageVariants, "100mV, 1V or 10V");
    voltage
        ->add_option(
            "--divider", o->divider,
            "Divider for 100mV and 1V (default: the converter's own, written back as the dialog does)")
        ->type_name("D")
        ->check(positiveUserReal());
    addLinearizationOptions(voltage, *o);

    CLI::App* current =
        addKind(commandLine, *input, "current", "Current input (\"Proud\")", o, prepareCurrent);
    addChoice(current, "--variant", o->variant, CurrentVariants, "shunt (external shunt) or 20mA");
    current
        ->add_option("--shunt", o->shunt,
                     "External shunt in ohms (default: the converter's own, written back as the dialog does)")
        ->type_name("R")
        ->check(positiveUserReal());
    addLinearizationOptions(current, *o);

    CLI::App* resistance =
        addKind(commandLine, *input, "resistance", "Resistance input (\"Odpor\")", o, prepareResistance);
    addChoice(resistance, "--wiring", o->wiring, Wirings,
              "2, 2ks, 3 or 4 wires (2ks: two-wire with compensation)");
    addLinearizationOptions(resistance, *o);

    CLI::App* potentiometer = addKind(commandLine, *input, "potentiometer",
                                      "Potentiometer input (\"Potenciometr\")", o, preparePotentiometer);
    addChoice(potentiometer, "--mode", o->mode, PotentiometerModes, "absolute or relative");
    addChoice(potentiometer, "--wiring", o->wiring, PotentiometerWirings, "3ks or 4 wires");
    addLinearizationOptions(potentiometer, *o);

    CLI::App* rtd =
        addKind(commandLine, *input, "rtd", "Resistance thermometer (\"Teploměr\")", o, prepareRtd);
    addChoice(rtd, "--sensor", o->sensor, RtdSensors,
              "pt100, pt1000, ni100-5000, ni1000-5000, ni100-6180, ni1000-6180");
    addChoice(rtd, "--wiring", o->wiring, Wirings, "2, 2ks, 3 or 4 wires");

    CLI::App* thermocouple = addKind(commandLine, *input, "thermocouple", "Thermocouple (\"Termočlánek\")", o,
                                     prepareThermocouple);
    addChoice(thermocouple, "--type", o->type, ThermocoupleTypes, "B, E, J, K, L, N, R, S or T");
    addChoice(thermocouple, "--compensation", o->compensation, Compensations,
              "Cold junction: internal, 2wire or 3wire");
}
