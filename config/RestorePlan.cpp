#include "config/RestorePlan.h"

#include "config/ConverterReading.h"
#include "device/ConverterLink.h"
#include "device/ParameterTexts.h"
#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"

#include <algorithm>
#include <functional>

namespace {

using Source = RestoreLinearization::Source;

constexpr const char* WhatToDo = "restore with --keep-linearization (the target keeps its own) or "
                                 "--linearization POINTS (the point file fitted again)";

InputPresentation present(const Configuration& c)
{
    return presentInput(c).value_or(InputPresentation{});
}

bool isThermocouple(std::uint8_t code)
{
    return code >= parameter_texts::FirstThermocoupleCode && code <= parameter_texts::MaxInputType;
}

// The keys of the input's range and linearization that the file holds;
// whole when it holds every one.
std::vector<std::string> linearizationKeys(const Configuration& c, bool& whole)
{
    std::vector<std::string> held;
    whole = true;
    forEachKey(
        [&](ConfigurationKey key, const auto& member) {
            if (key.role != KeyRole::Linearization)
                return;
            if (member)
                held.emplace_back(key.name);
            else
                whole = false;
        },
        c);
    return held;
}

std::string joined(const std::vector<std::string>& keys)
{
    std::string text;
    for (const std::string& k : keys)
        text += (text.empty() ? "" : ", ") + k;
    return text;
}

// The input from the file's own values, by the sequence of its kind.
void planFileInput(const Configuration& c, RestorePlan& plan)
{
    const InputPresentation shown = present(c);
    plan.sensor = SensorInput{*c.inputType, *c.rangeMin, *c.rangeMax, *c.curveCoefficients, *c.curveDegree};
    if (const ThermocoupleCurve* type = shown.thermocoupleCurve.value_or(nullptr)) {
        plan.sequence = RestorePlan::InputSequence::Thermocouple;
        plan.thermocouple = type;
    } else if (shown.rtdCurve.value_or(nullptr) != nullptr) {
        plan.sequence = RestorePlan::InputSequence::Rtd;
    } else {
        plan.sequence = RestorePlan::InputSequence::Plain;
        if (*c.curveDegree == 0) {
            plan.mode = LinearizationChoice::Mode::Off;
        } else {
            // "Přepsat" with the file's polynomial: the same frames as the
            // thermometer's sequence.
            plan.mode = LinearizationChoice::Mode::Overwrite;
            plan.fileTable.min = *c.rangeMin;
            plan.fileTable.max = *c.rangeMax;
            std::copy(c.curveCoefficients->begin(), c.curveCoefficients->end(), plan.fileTable.coefficients);
            plan.fileTable.polynomialDegree = *c.curveDegree;
            plan.table = &plan.fileTable;
        }
    }
    plan.expected.rangeMin = c.rangeMin;
    plan.expected.rangeMax = c.rangeMax;
    plan.expected.curveDegree = c.curveDegree;
    plan.expected.segmentCount = c.segmentCount;
    if (*c.curveDegree != 0)
        plan.expected.curveCoefficients = c.curveCoefficients;
    else
        plan.notes.push_back("CurveCoefficients not written: with CurveDegree 0 they are unused, and the "
                             "input's sequence leaves them as they are");
}

} // namespace

std::string recognisedSensor(const Configuration& configuration)
{
    const InputPresentation shown = present(configuration);
    if (const RtdCurve* rtd = shown.rtdCurve.value_or(nullptr))
        return rtd->name();
    if (const ThermocoupleCurve* type = shown.thermocoupleCurve.value_or(nullptr))
        return type->name();
    return {};
}

std::vector<std::string> restoreObstacles(const Configuration& c)
{
    std::vector<std::string> obstacles;
    if (c.segmentCount && *c.segmentCount != 0)
        obstacles.push_back("SegmentCount is " + std::to_string(*c.segmentCount) +
                            ": a converter does not give its segment table back, so no backup holds it; " +
                            WhatToDo);
    if (c.inputType && isThermocouple(*c.inputType) && c.curveDegree && c.curveCoefficients &&
        !present(c).thermocoupleCurve.value_or(nullptr))
        obstacles.push_back(
            "InputType " + std::to_string(*c.inputType) +
            " is a thermocouple whose polynomial matches no built-in type, and its EMF pieces "
            "cannot be read from a converter; " +
            WhatToDo + ", or set the type with dnx8 input PORT thermocouple");
    return obstacles;
}

bool planRestore(const BackupFile& file, const RestoreLinearization& linearization, RestorePlan& plan,
                 std::vector<std::string>& faults)
{
    const std::size_t faultsBefore = faults.size();
    const Configuration& c = file.configuration;
    if (!file.sensor.empty() && c.inputType && c.curveDegree && c.curveCoefficients) {
        const std::string found = recognisedSensor(c);
        if (found != file.sensor)
            faults.push_back("configuration.Sensor: \"" + file.sensor +
                             "\" is not what InputType and the polynomial stand for (" +
                             (found.empty() ? std::string("no built-in sensor") : "\"" + found + "\"") +
                             "); correct the file or remove the key");
    }

    // Every key but the linearization is written as the file has it.
    forEachKey(
        [](ConfigurationKey key, auto& expected, const auto& from) {
            if (key.role != KeyRole::Linearization)
                expected = from;
        },
        plan.expected, c);
    bool whole = false;
    const std::vector<std::string> held = linearizationKeys(c, whole);
    if (!c.inputType) {
        if (!held.empty())
            plan.notes.push_back(joined(held) + " not written: without InputType the file gives no input "
                                                "sequence to write them with");
    } else {
        switch (linearization.source) {
        case Source::Keep:
            plan.sequence = RestorePlan::InputSequence::Plain;
            plan.mode = LinearizationChoice::Mode::Keep;
            if (!held.empty())
                plan.notes.push_back(joined(held) + " not written: --keep-linearization");
            break;
        case Source::Overwrite:
            plan.sequence = RestorePlan::InputSequence::Plain;
            plan.mode = LinearizationChoice::Mode::Overwrite;
            plan.table = linearization.table;
            if (plan.table)
                expectLinearization(plan.expected, storedAfterUpload(*plan.table));
            if (!held.empty())
                plan.notes.push_back(joined(held) + " not written: --linearization gives them");
            break;
        case Source::File:
            if (!whole) {
                // A partial file: the linearization is left alone as a whole.
                plan.sequence = RestorePlan::InputSequence::Plain;
                plan.mode = LinearizationChoice::Mode::Keep;
                if (!held.empty())
                    plan.notes.push_back(joined(held) +
                                         " not written: the file lacks the rest of the input's "
                                         "linearization, so the target keeps its own");
                break;
            }
            for (const std::string& obstacle : restoreObstacles(c))
                faults.push_back("cannot restore in full: " + obstacle);
            if (faults.size() == faultsBefore)
                planFileInput(c, plan);
            break;
        }
    }
    return faults.size() == faultsBefore;
}

bool runRestore(ConverterLink& link, const RestorePlan& plan)
{
    const Configuration& e = plan.expected;
    // The steps in order; the first one left unanswered ends the restore, so
    // nothing more goes to a converter whose state is in doubt (set does
    // the same). The input's sequence runs to its Commit as the dialog's.
    auto input = [&] {
        switch (plan.sequence) {
        case RestorePlan::InputSequence::Plain: {
            LinearizationChoice choice;
            choice.mode = plan.mode;
            if (plan.mode == LinearizationChoice::Mode::Off) {
                choice.rangeMin = *e.rangeMin;
                choice.rangeMax = *e.rangeMax;
            }
            choice.table = plan.table;
            return writePlainInput(link, PlainInput{*e.inputType, std::nullopt, std::nullopt}, choice);
        }
        case RestorePlan::InputSequence::Rtd:
            return writeRtdInput(link, plan.sensor);
        case RestorePlan::InputSequence::Thermocouple:
            return writeThermocoupleInput(link, plan.sensor, thermocouplePieces(*plan.thermocouple));
        case RestorePlan::InputSequence::None:
            break;
        }
        return true;
    };
    // The echoes are not needed: the read-back compares what was stored.
    std::vector<std::function<bool()>> steps;
    if (e.divider)
        steps.push_back([&] { return link.writeDivider(*e.divider); });
    if (e.shunt)
        steps.push_back([&] { return link.writeShunt(*e.shunt); });
    steps.push_back(input);
    if (e.filter)
        steps.push_back([&] { return link.writeFilter(*e.filter); });
    if (float v = e.scaleMin.value_or(0); e.scaleMin)
        steps.push_back([&link, v]() mutable { return link.writeScaleMin(v); });
    if (float v = e.scaleMax.value_or(0); e.scaleMax)
        steps.push_back([&link, v]() mutable { return link.writeScaleMax(v); });
    if (std::uint8_t v = e.errorSignalling.value_or(0); e.errorSignalling)
        steps.push_back([&link, v]() mutable { return link.writeErrorSignalling(v); });
    if (RelaySettings v = e.relay1.value_or(RelaySettings{}); e.relay1)
        steps.push_back([&link, v]() mutable { return link.writeRelay1(v); });
    if (RelaySettings v = e.relay2.value_or(RelaySettings{}); e.relay2)
        steps.push_back([&link, v]() mutable { return link.writeRelay2(v); });
    for (const std::function<bool()>& step : steps)
        if (!step())
            return false;
    return true;
}
