#include "inputs/win32/RtdDialog.h"

#include "device/ConverterLink.h"
#include "device/ParameterTexts.h"
#include "inputs/InputWrites.h"

namespace {

const SensorDialog::Kind RtdKind = {
    parameter_texts::ResistanceConnectionTexts,
    parameter_texts::FirstResistanceCode,
    RtdCatalog::DefaultIndex,
    3, // "Čtyřdrát"
    true,
};

const RtdCurve& AsRtd(const SensorCurve& sensor)
{
    // The type list holds only this dialog's catalog.
    return static_cast<const RtdCurve&>(sensor);
}

} // namespace

RtdDialog::RtdDialog(WindowObject* parent, ConverterLink& link, StaticText& description,
                     const RtdCatalog& catalog, const RtdCurve*& currentRtd)
    : SensorDialog(parent, TemplateId, link, description, catalog, RtdKind), current(currentRtd)
{
}

void RtdDialog::rememberSensor(const SensorCurve& sensor)
{
    current = &AsRtd(sensor);
}

SensorDialog::TemperatureRange RtdDialog::rangeOf(const SensorCurve& sensor) const
{
    return {AsRtd(sensor).tmin(), AsRtd(sensor).tmax()};
}

void RtdDialog::writeSensor(const SensorCurve& sensor, int wiring)
{
    writeRtdInput(link, rtdInput(AsRtd(sensor), wiring));
}
