#include "config/InputRequest.h"

#include "config/ConfigurationJson.h"
#include "device/ParameterTexts.h"
#include "inputs/RtdCatalog.h"
#include "inputs/SensorCatalogs.h"
#include "inputs/ThermocoupleCatalog.h"

#include <algorithm>
#include <cctype>

namespace texts = parameter_texts;

namespace input_words {

const std::vector<std::string> Kinds = {"voltage", "current", "resistance", "potentiometer", "rtd", "thermocouple"};
const std::vector<std::string> VoltageVariants = {"100mV", "1V", "10V"};
const std::vector<std::string> CurrentVariants = {"shunt", "20mA"};
const std::vector<std::string> Wirings = {"2", "2ks", "3", "4"};
const std::vector<std::string> PotentiometerModes = {"absolute", "relative"};
const std::vector<std::string> PotentiometerWirings = {"3ks", "4"};
// Pt 100, Ni 100 (5000), Ni 100 (6180), Pt 1000, Ni 1000 (5000), Ni 1000 (6180).
const std::vector<std::string> RtdSensors = {"pt100",  "ni100-5000",  "ni100-6180",
                                             "pt1000", "ni1000-5000", "ni1000-6180"};
const std::vector<std::string> ThermocoupleTypes = {"B", "E", "J", "K", "L", "N", "R", "S", "T"};
const std::vector<std::string> Compensations = {"internal", "2wire", "3wire"};

int indexOf(const std::vector<std::string>& names, std::string_view word)
{
    const auto same = [](std::string_view a, std::string_view b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
        });
    };
    for (std::size_t i = 0; i < names.size(); ++i)
        if (same(names[i], word))
            return static_cast<int>(i);
    return -1;
}

std::string listed(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    return text;
}

} // namespace input_words

namespace {

constexpr int TenVoltVariant = 2;
constexpr int ExternalShuntVariant = 0;

void expectSensor(InputJob& job)
{
    Configuration& e = job.expected;
    e.inputType = job.sensor.inputType;
    e.rangeMin = job.sensor.rangeMin;
    e.rangeMax = job.sensor.rangeMax;
    e.curveDegree = job.sensor.degree;
    e.curveCoefficients = job.sensor.coefficients;
    e.segmentCount = 0;
}

std::uint8_t plainInputType(const InputRequest& r)
{
    switch (r.kind) {
    case InputKind::Voltage:
        return static_cast<std::uint8_t>(r.variant);
    case InputKind::Current:
        return static_cast<std::uint8_t>(texts::FirstCurrentCode + r.variant);
    case InputKind::Resistance:
        return static_cast<std::uint8_t>(texts::FirstResistanceCode + r.wiring);
    default:
        // code = 9 + 2 * type + connection
        return static_cast<std::uint8_t>(texts::FirstPotentiometerCode +
                                         static_cast<int>(input_words::PotentiometerWirings.size()) * r.mode +
                                         r.wiring);
    }
}

std::optional<float> converterValue(ConverterLink& link, bool (ConverterLink::*read)(float&), const char* name,
                                    std::vector<std::string>& unread)
{
    float value = 0;
    if ((link.*read)(value))
        return value;
    unread.emplace_back(name);
    return std::nullopt;
}

} // namespace

std::optional<InputJob> prepareInput(InputRequest request, InputProblem& problem)
{
    InputJob job;
    job.kind = request.kind;
    if (request.kind == InputKind::Rtd) {
        job.sensor = rtdInput(*rtds().At(request.sensor), request.wiring);
        expectSensor(job);
        return job;
    }
    if (request.kind == InputKind::Thermocouple) {
        const ThermocoupleCurve* type = thermocouples().At(request.type);
        job.sensor = thermocoupleInput(*type, request.compensation);
        job.pieces = thermocouplePieces(*type);
        expectSensor(job);
        return job;
    }
    if (request.kind == InputKind::Voltage) {
        if (request.variant == TenVoltVariant && request.divider) {
            problem = {"divider", "the 10V input has no divider"};
            return std::nullopt;
        }
        // The dialog writes the divider for 100 mV and 1 V.
        if (request.variant != TenVoltVariant) {
            job.keepDivider = !request.divider;
            job.plain.divider = request.divider;
        }
    }
    if (request.kind == InputKind::Current) {
        if (request.variant != ExternalShuntVariant && request.shunt) {
            problem = {"shunt", "the 20mA input has its own shunt"};
            return std::nullopt;
        }
        if (request.variant == ExternalShuntVariant) {
            job.keepShunt = !request.shunt;
            job.plain.shunt = request.shunt;
        }
    }
    job.plain.inputType = plainInputType(request);
    job.expected.inputType = job.plain.inputType;
    job.linearization.mode = request.linearization;
    job.linearization.rangeMin = request.rangeMin;
    job.linearization.rangeMax = request.rangeMax;
    if (request.linearization == LinearizationChoice::Mode::Overwrite) {
        if (!request.table) {
            problem = {"linearization", "overwriting the linearization needs a point file's fit"};
            return std::nullopt;
        }
        job.table = std::move(request.table);
        job.linearization.table = job.table.get();
    }
    if (const std::optional<StoredLinearization> stored = storedLinearization(job.linearization))
        expectLinearization(job.expected, *stored);
    return job;
}

std::vector<std::string> takeConverterValues(ConverterLink& link, InputJob& job)
{
    std::vector<std::string> unread;
    if (job.keepDivider && !job.plain.divider)
        job.plain.divider = converterValue(link, &ConverterLink::readDivider, "Divider", unread);
    if (job.keepShunt && !job.plain.shunt)
        job.plain.shunt = converterValue(link, &ConverterLink::readShunt, "Shunt", unread);
    job.expected.divider = job.plain.divider;
    job.expected.shunt = job.plain.shunt;
    return unread;
}

void writeInput(ConverterLink& link, const InputJob& job, WaitCursorHook* waitCursor)
{
    switch (job.kind) {
    case InputKind::Rtd:
        writeRtdInput(link, job.sensor);
        return;
    case InputKind::Thermocouple:
        writeThermocoupleInput(link, job.sensor, job.pieces, waitCursor);
        return;
    default:
        writePlainInput(link, job.plain, job.linearization, waitCursor);
        return;
    }
}

InputResult runInput(ConverterLink& link, const InputJob& job)
{
    InputResult result;
    result.complete = runJournalled(link, [&job](ConverterLink& l) { writeInput(l, job); }, result.outcome);
    result.held = readConverter(link, ReadScope::Input);
    // Exact digits, as restore lists its differences.
    result.check = checkWrites(job.expected, result.held.settings);
    return result;
}

Json inputResultJson(const InputResult& result)
{
    Json list = Json::array();
    for (const ConfigurationDifference& d : result.check.differences)
        list.push_back(Json{{"name", d.name}, {"asked", d.left}, {"held", d.right}});
    return Json{{"configuration", configurationJson(result.held.settings)},
                {"writes", writeOutcomeJson(result.outcome)},
                {"complete", result.complete},
                {"unread", result.check.unread},
                {"mismatches", list}};
}
