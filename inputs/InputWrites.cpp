#include "inputs/InputWrites.h"

#include "device/ParameterTexts.h"
#include "framework/WaitCursorHook.h"
#include "inputs/RtdCurve.h"
#include "inputs/ThermocoupleCurve.h"
#include "linearization/LinearizationTable.h"

#include <algorithm>

static_assert(std::tuple_size_v<EmfPieces> == ThermocoupleCurve::PieceSlots);

namespace {

// Every write is made whatever the earlier ones returned.
bool applyLinearization(ConverterLink& link, const LinearizationChoice& choice, WaitCursorHook* waitCursor)
{
    bool answered = true;
    switch (choice.mode) {
    case LinearizationChoice::Mode::Overwrite:
        if (choice.table != nullptr)
            answered = choice.table->upload(link, waitCursor);
        break;
    case LinearizationChoice::Mode::Off:
        answered &= link.writeRangeMin(choice.rangeMin);
        answered &= link.writeRangeMax(choice.rangeMax);
        answered &= link.writeSegmentCount(0);
        answered &= link.writeCurveDegree(0);
        break;
    case LinearizationChoice::Mode::Keep:
        break;
    }
    answered &= link.commit();
    return answered;
}

bool writeSensorPolynomial(ConverterLink& link, const SensorInput& input)
{
    bool answered = link.writeCurveCoefficients(input.coefficients);
    answered &= link.writeCurveDegree(input.degree);
    answered &= link.writeSegmentCount(0);
    answered &= link.commit();
    return answered;
}

} // namespace

std::optional<StoredLinearization> storedLinearization(const LinearizationChoice& choice)
{
    switch (choice.mode) {
    case LinearizationChoice::Mode::Overwrite:
        if (choice.table != nullptr)
            return storedAfterUpload(*choice.table);
        break;
    case LinearizationChoice::Mode::Off:
        return StoredLinearization{choice.rangeMin, choice.rangeMax, 0, 0, std::nullopt};
    case LinearizationChoice::Mode::Keep:
        break;
    }
    return std::nullopt;
}

StoredLinearization storedAfterUpload(const LinearizationTable& table)
{
    StoredLinearization stored{table.min, table.max, 0, 0, std::nullopt};
    if (table.segmentCount != 0) {
        stored.segmentCount = static_cast<std::uint8_t>(std::clamp<int>(table.segmentCount, 0, MaxSegments));
        return stored;
    }
    stored.curveDegree =
        static_cast<std::uint8_t>(std::clamp<int>(table.polynomialDegree, 0, MaxPolynomialDegree));
    if (table.polynomialDegree != 0) {
        CurveCoefficients all{};
        std::copy(std::begin(table.coefficients), std::end(table.coefficients), all.begin());
        stored.coefficients = all;
    }
    return stored;
}

bool writePlainInput(ConverterLink& link, const PlainInput& input, const LinearizationChoice& linearization,
                     WaitCursorHook* waitCursor)
{
    bool answered = link.writeInputType(input.inputType);
    if (input.divider)
        answered &= link.writeDivider(*input.divider);
    if (input.shunt)
        answered &= link.writeShunt(*input.shunt);
    answered &= applyLinearization(link, linearization, waitCursor);
    return answered;
}

SensorInput rtdInput(const RtdCurve& rtd, int wiring)
{
    SensorInput input;
    input.inputType = static_cast<std::uint8_t>(parameter_texts::FirstResistanceCode + wiring);
    // The converter measures ohms: the range is the resistance at the ends.
    input.rangeMin = rtd.ResistanceAt(static_cast<float>(rtd.tmin()));
    input.rangeMax = rtd.ResistanceAt(static_cast<float>(rtd.tmax()));
    input.coefficients = rtd.polynomial();
    input.degree = static_cast<std::uint8_t>(rtd.degree());
    return input;
}

SensorInput thermocoupleInput(const ThermocoupleCurve& thermocouple, int compensation)
{
    SensorInput input;
    input.inputType = static_cast<std::uint8_t>(parameter_texts::FirstThermocoupleCode + compensation);
    input.rangeMin = thermocouple.emfMin();
    input.rangeMax = thermocouple.emfMax();
    input.coefficients = thermocouple.cjPolynomial();
    input.degree = thermocouple.cjDegree();
    return input;
}

EmfPieces thermocouplePieces(const ThermocoupleCurve& thermocouple)
{
    EmfPieces pieces{};
    for (int slot = 0; slot < ThermocoupleCurve::PieceSlots; ++slot)
        pieces[static_cast<std::size_t>(slot)] = thermocouple.range(slot).wireImage();
    return pieces;
}

bool writeRtdInput(ConverterLink& link, const SensorInput& input)
{
    bool answered = link.writeInputType(input.inputType);
    answered &= link.writeRangeMin(input.rangeMin);
    answered &= link.writeRangeMax(input.rangeMax);
    answered &= writeSensorPolynomial(link, input);
    return answered;
}

bool writeThermocoupleInput(ConverterLink& link, const SensorInput& input, const EmfPieces& pieces,
                            WaitCursorHook* waitCursor)
{
    if (waitCursor)
        waitCursor->show();
    bool answered = link.writeInputType(input.inputType);
    answered &= link.writeRangeMin(input.rangeMin);
    answered &= link.writeRangeMax(input.rangeMax);
    for (std::size_t slot = 0; slot < pieces.size(); ++slot)
        answered &= link.writeEmfRange(static_cast<std::uint8_t>(slot), pieces[slot]);
    answered &= writeSensorPolynomial(link, input);
    if (waitCursor)
        waitCursor->restore();
    return answered;
}
