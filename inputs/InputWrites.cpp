#include "inputs/InputWrites.h"

#include "device/ParameterTexts.h"
#include "framework/WaitCursorHook.h"
#include "inputs/RtdCurve.h"
#include "inputs/ThermocoupleCurve.h"
#include "linearization/LinearizationTable.h"

static_assert(std::tuple_size_v<EmfPieces> == ThermocoupleCurve::PieceSlots);

namespace {

void applyLinearization(ConverterLink& link, const LinearizationChoice& choice, WaitCursorHook* waitCursor)
{
    switch (choice.mode) {
    case LinearizationChoice::Mode::Overwrite:
        if (choice.table != nullptr)
            choice.table->upload(link, waitCursor);
        break;
    case LinearizationChoice::Mode::Off:
        link.writeRangeMin(choice.rangeMin);
        link.writeRangeMax(choice.rangeMax);
        link.writeSegmentCount(0);
        link.writeCurveDegree(0);
        break;
    case LinearizationChoice::Mode::Keep:
        break;
    }
    link.commit();
}

void writeSensorPolynomial(ConverterLink& link, const SensorInput& input)
{
    link.writeCurveCoefficients(input.coefficients);
    link.writeCurveDegree(input.degree);
    link.writeSegmentCount(0);
    link.commit();
}

} // namespace

void writePlainInput(ConverterLink& link, const PlainInput& input, const LinearizationChoice& linearization,
                     WaitCursorHook* waitCursor)
{
    link.writeInputType(input.inputType);
    if (input.divider)
        link.writeDivider(*input.divider);
    if (input.shunt)
        link.writeShunt(*input.shunt);
    applyLinearization(link, linearization, waitCursor);
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

void writeRtdInput(ConverterLink& link, const SensorInput& input)
{
    link.writeInputType(input.inputType);
    link.writeRangeMin(input.rangeMin);
    link.writeRangeMax(input.rangeMax);
    writeSensorPolynomial(link, input);
}

void writeThermocoupleInput(ConverterLink& link, const SensorInput& input, const EmfPieces& pieces,
                            WaitCursorHook* waitCursor)
{
    if (waitCursor)
        waitCursor->show();
    link.writeInputType(input.inputType);
    link.writeRangeMin(input.rangeMin);
    link.writeRangeMax(input.rangeMax);
    for (std::size_t slot = 0; slot < pieces.size(); ++slot)
        link.writeEmfRange(static_cast<std::uint8_t>(slot), pieces[slot]);
    writeSensorPolynomial(link, input);
    if (waitCursor)
        waitCursor->restore();
}
