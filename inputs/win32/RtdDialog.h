#pragma once

#include "inputs/RtdCatalog.h"
#include "inputs/win32/SensorDialog.h"

// "Teploměr": sets the converter up for a built-in resistance thermometer
// and its wiring (InputType 5..8), with the range in ohms and the curve t(R).
//
//   Application::Instance()->RunModal(std::make_unique<RtdDialog>(
//       mainWindow, link, *inputDescriptionText, *rtdCatalog, currentRtdCurve));
class RtdDialog : public SensorDialog {
public:
    static constexpr int TemplateId = 10;

    // current is the main window's field: read on opening, set on OK.
    RtdDialog(WindowObject* parent, ConverterLink& link, StaticText& description, const RtdCatalog& catalog,
              const RtdCurve*& current);

protected:
    const SensorCurve* currentSensor() const override { return current; }
    void rememberSensor(const SensorCurve& sensor) override;
    TemperatureRange rangeOf(const SensorCurve& sensor) const override;
    void writeSensor(const SensorCurve& sensor, int wiring) override;

private:
    const RtdCurve*& current;
};
