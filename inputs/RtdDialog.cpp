#include "inputs/RtdDialog.h"

#include "device/ConverterLink.h"
#include "device/ParameterTexts.h"

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

void RtdDialog::writeSensor(const SensorCurve& sensor, std::uint8_t inputType)
{
    const RtdCurve& rtd = AsRtd(sensor);
    // The converter measures ohms: the range is the resistance at the ends.
    link.writeInputType(inputType);
    link.writeRangeMin(rtd.ResistanceAt(static_cast<float>(rtd.tmin())));
    link.writeRangeMax(rtd.ResistanceAt(static_cast<float>(rtd.tmax())));
    link.writeCurveCoefficients(rtd.polynomial());
    link.writeCurveDegree(static_cast<std::uint8_t>(rtd.degree()));
    link.writeSegmentCount(0);
    link.commit();
}
