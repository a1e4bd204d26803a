#include "inputs/win32/ThermocoupleDialog.h"

#include "device/ConverterLink.h"
#include "device/ParameterTexts.h"
#include "framework/SystemWaitCursor.h"
#include "inputs/InputWrites.h"

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

void ThermocoupleDialog::writeSensor(const SensorCurve& sensor, int wiring)
{
    const ThermocoupleCurve& thermocouple = AsThermocouple(sensor);
    SystemWaitCursor waitCursor;
    writeThermocoupleInput(link, thermocoupleInput(thermocouple, wiring), thermocouplePieces(thermocouple),
                           &waitCursor);
}
