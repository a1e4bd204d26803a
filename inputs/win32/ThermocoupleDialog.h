#pragma once

#include "inputs/win32/SensorDialog.h"
#include "inputs/ThermocoupleCatalog.h"

// "Termočlánek": sets the converter up for a built-in thermocouple and its
// cold-junction compensation (InputType 13..15), with the range in mV, the
// four pieces of the inverse characteristic and the cold-junction curve.
// The write takes a few seconds at 9600 baud, under the wait cursor.
//
//   Application::Instance()->RunModal(std::make_unique<ThermocoupleDialog>(
//       mainWindow, link, *inputDescriptionText, *thermocoupleCatalog, currentThermocoupleCurve));
class ThermocoupleDialog : public SensorDialog {
public:
    static constexpr int TemplateId = 11;

    // current is the main window's field: read on opening, set on OK.
    ThermocoupleDialog(WindowObject* parent, ConverterLink& link, StaticText& description,
                       const ThermocoupleCatalog& catalog, const ThermocoupleCurve*& current);

protected:
    const SensorCurve* currentSensor() const override { return current; }
    void rememberSensor(const SensorCurve& sensor) override;
    TemperatureRange rangeOf(const SensorCurve& sensor) const override;
    void writeSensor(const SensorCurve& sensor, int wiring) override;

private:
    const ThermocoupleCurve*& current;
};
