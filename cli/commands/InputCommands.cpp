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

int IndexIn(const std::vector<std::string>& names, const std::string& name)
{
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<int>(i);
    return -1;
}

// What a successful sequence leaves in the converter; empty members were
// not written.
struct Expected {
    std::uint8_t inputType = 0;
    std::optional<float> divider;
    std::optional<float> shunt;
    std::optional<float> rangeMin;
    std::optional<float> rangeMax;
    std::optional<std::uint8_t> curveDegree;
    std::optional<CurveCoefficients> coefficients;
    std::optional<std::uint8_t> segmentCount;
};

// The whole job for one kind: checked settings, then the write sequence.
struct InputJob {
    std::function<bool(ConverterLink&, WaitCursorHook*)> write;
    Expected expected;
    // Plain kinds: the divider or shunt to write back when not given.
    bool keepDivider = false;
    bool keepShunt = false;
    PlainInput plain;
    LinearizationChoice linearization;
    std::unique_ptr<LinearizationTable> table;
};

// Reads the range and linearization choice of the four plain kinds.
bool ChooseLinearization(const Options& options, InputJob& job)
{
    Expected& e = job.expected;
    if (!options.range.empty()) {
        job.linearization.mode = LinearizationChoice::Mode::Off;
        job.linearization.rangeMin = *ReadUserReal(options.range[0]);
        job.linearization.rangeMax = *ReadUserReal(options.range[1]);
        e.rangeMin = job.linearization.rangeMin;
        e.rangeMax = job.linearization.rangeMax;
        e.curveDegree = 0;
        e.segmentCount = 0;
    } else if (!options.points.empty()) {
        job.table = std::make_unique<LinearizationTable>();
        PointSet pointSet;
        std::string problem;
        if (!ImportPointFile(options.points, options.fit, *job.table, pointSet, problem)) {
            Fail(exit_code::BadUsage, problem + ". Nothing was sent.");
            return false;
        }
        job.linearization.mode = LinearizationChoice::Mode::Overwrite;
        job.linearization.table = job.table.get();
        const LinearizationTable& t = *job.table;
        e.rangeMin = t.min;
        e.rangeMax = t.max;
        e.segmentCount = static_cast<std::uint8_t>(t.segmentCount);
        e.curveDegree = static_cast<std::uint8_t>(t.segmentCount != 0 ? 0 : t.polynomialDegree);
        if (t.segmentCount == 0 && t.polynomialDegree != 0) {
            CurveCoefficients all{};
            std::copy(std::begin(t.coefficients), std::end(t.coefficients), all.begin());
            e.coefficients = all;
        }
    } else {
        job.linearization.mode = LinearizationChoice::Mode::Keep;
    }
    return true;
}

void AddLinearizationOptions(CLI::App* kind, Options& o)
{
    CLI::Option_group* group = kind->add_option_group(
        "linearization", "Exactly one of: --range MIN MAX, --keep-linearization, --linearization POINTS");
    group->add_option("--range", o.range, "Linearization off (\"Vypnuta\") with this range")
        ->expected(2)
        ->type_name("MIN MAX")
        ->check(UserReal());
    group->add_flag("--keep-linearization", o.keepLinearization,
                    "Keep the converter's range and linearization (\"Zapnuta\")");
    CLI::Option* points =
        group->add_option("--linearization", o.points,
                          "Overwrite it (\"Přepsat\") with the fit of a point file and the file's x range");
    points->type_name("POINTS");
    group->require_option(1);
    AddFitChoiceOptions(kind, o.fit);
    kind->get_option("--order")->needs(points);
    kind->get_option("--spline")->needs(points);
    kind->get_option("--strict")->needs(points);
}

// Writes back what a dialog's untouched edit holds: the converter's own
// value, bit for bit; when it cannot be read it is not written.
std::optional<float> ConverterValue(ConverterLink& link, bool (ConverterLink::*read)(float&),
                                    const char* name)
{
    float value = 0;
    if ((link.*read)(value))
        return value;
    std::cerr << "dnx8: the converter's " << name << " could not be read; it is left as it is.\n";
    return std::nullopt;
}

struct Mismatch {
    std::string name;
    std::string asked;
    std::string held;
};

template <typename T> std::string Show(const T& value)
{
    if constexpr (std::is_same_v<T, float>)
        return realText(value);
    else if constexpr (std::is_same_v<T, std::uint8_t>)
        return std::to_string(value);
    else
        return "[polynomial]";
}

// Compares what the converter holds now with what was written.
template <typename T>
void Compare(const char* name, const std::optional<T>& asked, const std::optional<T>& held,
             std::vector<Mismatch>& mismatches, std::vector<std::string>& unread)
{
    if (!asked)
        return;
    if (!held)
        unread.push_back(name);
    else if (!(*held == *asked))
        mismatches.push_back({name, Show(*asked), Show(*held)});
}

int RunInput(const GlobalOptions& global, const Options& options, InputJob& job)
{
    // Without a line the converter's own divider or shunt cannot be read
    // back, so an untouched one is not written.
    if (options.dryRun)
        return printDryRun(global, [&](ConverterLink& link) { job.write(link, nullptr); });
    auto session = OpenConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;
    ConverterLink& link = *session->link;
    Expected& e = job.expected;
    if (job.keepDivider && !job.plain.divider)
        job.plain.divider = ConverterValue(link, &ConverterLink::readDivider, "Divider");
    if (job.keepShunt && !job.plain.shunt)
        job.plain.shunt = ConverterValue(link, &ConverterLink::readShunt, "Shunt");
    e.divider = job.plain.divider;
    e.shunt = job.plain.shunt;

    WriteOutcome outcome;
    const bool answered = runJournalled(link, [&](ConverterLink& l) { job.write(l, nullptr); }, outcome);

    ConfigurationReading held;
    ReadInputState(link, held);
    LabelledLines lines;
    AddInputLines(lines, held);
    if (!options.json)
        lines.print(std::cout);

    std::vector<Mismatch> mismatches;
    std::vector<std::string> unread;
    Compare("InputType", std::optional<std::uint8_t>(e.inputType), held.all.inputType, mismatches, unread);
    Compare("Divider", e.divider, held.divider, mismatches, unread);
    Compare("Shunt", e.shunt, held.shunt, mismatches, unread);
    Compare("RangeMin", e.rangeMin, held.rangeMin, mismatches, unread);
    Compare("RangeMax", e.rangeMax, held.rangeMax, mismatches, unread);
    Compare("CurveDegree", e.curveDegree, held.all.curveDegree, mismatches, unread);
    Compare("CurveCoefficients", e.coefficients, held.all.curveCoefficients, mismatches, unread);
    Compare("SegmentCount", e.segmentCount, held.segmentCount, mismatches, unread);

    if (options.json) {
        Json list = Json::array();
        for (const Mismatch& m : mismatches)
            list.push_back(Json{{"name", m.name}, {"asked", m.asked}, {"held", m.held}});
        PrintJson(std::cout, Json{{"configuration", ConfigurationJson(held)},
                                  {"writes", writeOutcomeJson(outcome)},
                                  {"complete", answered},
                                  {"unread", unread},
                                  {"mismatches", list}});
    }
    if (!answered) {
        for (const std::string& line : outcome.lines("the same dnx8 input command again"))
            std::cerr << "dnx8: " << line << '\n';
        return Fail(exit_code::DeviceFailed, "the input's write sequence was interrupted; check the cable.");
    }
    if (!unread.empty()) {
        std::string names;
        for (const std::string& name : unread)
            names += " " + name;
        return Fail(exit_code::DeviceFailed, "every write was confirmed, but could not read back:" + names +
                                                 "; check the cable and run dnx8 read " + options.port + ".");
    }
    if (!mismatches.empty()) {
        for (const Mismatch& m : mismatches)
            std::cerr << "dnx8: " << m.name << ": asked " << m.asked << ", the converter holds " << m.held
                      << '\n';
        return Fail(exit_code::Mismatch, "the converter holds another input than asked (it clips values it "
                                         "does not accept); see the list above.");
    }
    return exit_code::Done;
}

// The common frame of every kind: its subcommand, and the job built from
// the options once they are parsed.
CLI::App* AddKind(CommandLine& commandLine, CLI::App& input, const std::string& name, const std::string& help,
                  const std::shared_ptr<Options>& options,
                  std::function<bool(const Options&, InputJob&)> prepare)
{
    CLI::App* kind = commandLine.add(input, name, help, [&commandLine, options, prepare] {
        InputJob job;
        if (!prepare(*options, job))
            return exit_code::BadUsage;
        return RunInput(commandLine.global(), *options, job);
    });
    // The usage line CLI11 prints leaves out the group's PORT.
    kind->footer("Usage: dnx8 input PORT " + name + " [OPTIONS] [--dry-run] [--json]");
    return kind;
}

// The four plain kinds share the sequence and the linearization choice.
bool PreparePlain(const Options& options, InputJob& job, std::uint8_t inputType)
{
    job.plain.inputType = inputType;
    job.expected.inputType = inputType;
    if (!ChooseLinearization(options, job))
        return false;
    job.write = [&job](ConverterLink& link, WaitCursorHook* hook) {
        return writePlainInput(link, job.plain, job.linearization, hook);
    };
    return true;
}

bool PrepareVoltage(const Options& o, InputJob& job)
{
    const int variant = IndexIn(VoltageVariants, o.variant);
    if (variant == TenVoltVariant && !o.divider.empty()) {
        Fail(exit_code::BadUsage, "--divider: the 10V input has no divider. Nothing was sent.");
        return false;
    }
    // The dialog writes the divider for 100 mV and 1 V.
    if (variant != TenVoltVariant) {
        job.keepDivider = o.divider.empty();
        if (!o.divider.empty())
            job.plain.divider = *ReadUserReal(o.divider);
    }
    return PreparePlain(o, job, static_cast<std::uint8_t>(variant));
}

bool PrepareCurrent(const Options& o, InputJob& job)
{
    const int variant = IndexIn(CurrentVariants, o.variant);
    if (variant != ExternalShuntVariant && !o.shunt.empty()) {
        Fail(exit_code::BadUsage, "--shunt: the 20mA input has its own shunt. Nothing was sent.");
        return false;
    }
    if (variant == ExternalShuntVariant) {
        job.keepShunt = o.shunt.empty();
        if (!o.shunt.empty())
            job.plain.shunt = *ReadUserReal(o.shunt);
    }
    return PreparePlain(o, job, static_cast<std::uint8_t>(texts::FirstCurrentCode + variant));
}

bool PrepareResistance(const Options& o, InputJob& job)
{
    return PreparePlain(o, job,
                        static_cast<std::uint8_t>(texts::FirstResistanceCode + IndexIn(Wirings, o.wiring)));
}

bool PreparePotentiometer(const Options& o, InputJob& job)
{
    // code = 9 + 2 * type + connection
    const int code = texts::FirstPotentiometerCode +
                     static_cast<int>(PotentiometerWirings.size()) * IndexIn(PotentiometerModes, o.mode) +
                     IndexIn(PotentiometerWirings, o.wiring);
    return PreparePlain(o, job, static_cast<std::uint8_t>(code));
}

void ExpectSensor(InputJob& job, const SensorInput& input)
{
    Expected& e = job.expected;
    e.inputType = input.inputType;
    e.rangeMin = input.rangeMin;
    e.rangeMax = input.rangeMax;
    e.curveDegree = input.degree;
    e.coefficients = input.coefficients;
    e.segmentCount = 0;
}

bool PrepareRtd(const Options& o, InputJob& job)
{
    const RtdCurve* rtd = Rtds().At(IndexIn(RtdSensors, o.sensor));
    const SensorInput input = rtdInput(*rtd, IndexIn(Wirings, o.wiring));
    ExpectSensor(job, input);
    job.write = [input](ConverterLink& link, WaitCursorHook*) { return writeRtdInput(link, input); };
    return true;
}

bool PrepareThermocouple(const Options& o, InputJob& job)
{
    const ThermocoupleCurve* type = Thermocouples().At(IndexIn(ThermocoupleTypes, o.type));
    const SensorInput input = thermocoupleInput(*type, IndexIn(Compensations, o.compensation));
    const EmfPieces pieces = thermocouplePieces(*type);
    ExpectSensor(job, input);
    job.write = [input, pieces](ConverterLink& link, WaitCursorHook* hook) {
        return writeThermocoupleInput(link, input, pieces, hook);
    };
    return true;
}

void AddChoice(CLI::App* kind, const std::string& name, std::string& target,
               const std::vector<std::string>& names, const std::string& help)
{
    // Any case: --type k, --variant 1v; the value becomes the listed name.
    kind->add_option(name, target, help)->required()->transform(CLI::IsMember(names, CLI::ignore_case));
}

} // namespace

void AddInputCommands(CommandLine& commandLine)
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
        AddKind(commandLine, *input, "voltage", "Voltage input (\"Napětí\")", o, PrepareVoltage);
    AddChoice(voltage, "--variant", o->variant, VoltageVariants, "100mV, 1V or 10V");
    voltage
        ->add_option(
            "--divider", o->divider,
            "Divider for 100mV and 1V (default: the converter's own, written back as the dialog does)")
        ->type_name("D")
        ->check(PositiveUserReal());
    AddLinearizationOptions(voltage, *o);

    CLI::App* current =
        AddKind(commandLine, *input, "current", "Current input (\"Proud\")", o, PrepareCurrent);
    AddChoice(current, "--variant", o->variant, CurrentVariants, "shunt (external shunt) or 20mA");
    current
        ->add_option("--shunt", o->shunt,
                     "External shunt in ohms (default: the converter's own, written back as the dialog does)")
        ->type_name("R")
        ->check(PositiveUserReal());
    AddLinearizationOptions(current, *o);

    CLI::App* resistance =
        AddKind(commandLine, *input, "resistance", "Resistance input (\"Odpor\")", o, PrepareResistance);
    AddChoice(resistance, "--wiring", o->wiring, Wirings,
              "2, 2ks, 3 or 4 wires (2ks: two-wire with compensation)");
    AddLinearizationOptions(resistance, *o);

    CLI::App* potentiometer = AddKind(commandLine, *input, "potentiometer",
                                      "Potentiometer input (\"Potenciometr\")", o, PreparePotentiometer);
    AddChoice(potentiometer, "--mode", o->mode, PotentiometerModes, "absolute or relative");
    AddChoice(potentiometer, "--wiring", o->wiring, PotentiometerWirings, "3ks or 4 wires");
    AddLinearizationOptions(potentiometer, *o);

    CLI::App* rtd =
        AddKind(commandLine, *input, "rtd", "Resistance thermometer (\"Teploměr\")", o, PrepareRtd);
    AddChoice(rtd, "--sensor", o->sensor, RtdSensors,
              "pt100, pt1000, ni100-5000, ni1000-5000, ni100-6180, ni1000-6180");
    AddChoice(rtd, "--wiring", o->wiring, Wirings, "2, 2ks, 3 or 4 wires");

    CLI::App* thermocouple = AddKind(commandLine, *input, "thermocouple", "Thermocouple (\"Termočlánek\")", o,
                                     PrepareThermocouple);
    AddChoice(thermocouple, "--type", o->type, ThermocoupleTypes, "B, E, J, K, L, N, R, S or T");
    AddChoice(thermocouple, "--compensation", o->compensation, Compensations,
              "Cold junction: internal, 2wire or 3wire");
}
