#include "inputs/ThermocoupleDialog.h"

#include "device/ConverterLink.h"
#include "device/ParameterTexts.h"
#include "linearization/SystemWaitCursor.h"

namespace {

const SensorDialog::Kind ThermocoupleKind = {
    parameter_texts::CompensationTexts,
    parameter_texts::FirstThermocoupleCode,
    ThermocoupleCatalog::DefaultIndex,
    0, // "Interní kompenzace"
    false,
};

const ThermocoupleCurve& AsThermocouple(const SensorCurve& sensor)
{
    // The type list holds only this dialog's catalog.
    return static_cast<const ThermocoupleCurve&>(sensor);
}

} // namespace

ThermocoupleDialog::ThermocoupleDialog(WindowObject* parent, ConverterLink& link, StaticText& description,
                                       const ThermocoupleCatalog& catalog,
                                       const ThermocoupleCurve*& currentThermocouple)
    : SensorDialog(parent, TemplateId, link, description, catalog, ThermocoupleKind),
      current(currentThermocouple)
{
}

void ThermocoupleDialog::rememberSensor(const SensorCurve& sensor)
{
    current = &AsThermocouple(sensor);
}

SensorDialog::TemperatureRange ThermocoupleDialog::rangeOf(const SensorCurve& sensor) const
{
    return {AsThermocouple(sensor).tmin(), AsThermocouple(sensor).tmax()};
}

void ThermocoupleDialog::writeSensor(const SensorCurve& sensor, std::uint8_t inputType)
{
    const ThermocoupleCurve& thermocouple = AsThermocouple(sensor);
    SystemWaitCursor waitCursor;
    waitCursor.show();
    link.writeInputType(inputType);
    link.writeRangeMin(thermocouple.emfMin());
    link.writeRangeMax(thermocouple.emfMax());
    // Every slot is written, the unused ones with the all-zero piece, so no
    // piece of an earlier type stays behind in the converter.
    for (int slot = 0; slot < ThermocoupleCurve::PieceSlots; ++slot)
        link.writeEmfRange(static_cast<std::uint8_t>(slot), thermocouple.range(slot).wireImage());
    link.writeCurveCoefficients(thermocouple.cjPolynomial());
    link.writeCurveDegree(thermocouple.cjDegree());
    link.writeSegmentCount(0);
    link.commit();
    waitCursor.restore();
}
