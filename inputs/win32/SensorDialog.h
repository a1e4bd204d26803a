#pragma once

#include "framework/DialogObject.h"

#include <cstdint>
#include <span>
#include <string_view>

class ComboBox;
class ConverterLink;
class SensorCatalog;
class SensorCurve;
class StaticText;
class ValueDisplay;

// What the thermometer and thermocouple dialogs share: a type list filled
// from a sensor catalog, the chosen type's temperature range and a wiring
// list whose index is added to the kind's first InputType code. When the
// converter is set up for this kind, the dialog proposes the main window's
// current sensor and the converter's wiring; otherwise the kind's default.
class SensorDialog : public DialogObject {
public:
    static constexpr int TypeListId = 101;
    static constexpr int RangeTextId = 102;
    static constexpr int WiringListId = 103;

    struct Kind {
        std::span<const std::string_view> wiringTexts;
        std::uint8_t firstCode; // InputType of wiring entry 0
        int defaultSensor;      // catalog index proposed for another mode
        int defaultWiring;
        // An RTD code without a recognised sensor counts as another mode;
        // a thermocouple code keeps its wiring and leaves the type open.
        bool unknownSensorMeansOtherMode;
    };
    struct TemperatureRange {
        int min;
        int max;
    };

    void SetUp() override;
    void OnChildNotification(WindowMessage& msg, int id) override;
    // With a type chosen: remembers it, describes it and writes it; then
    // closes. Without one (the first read failed, or the converter's type
    // is unknown and none was picked) it closes without writing.
    void Accept(WindowMessage& msg) override;

protected:
    SensorDialog(WindowObject* parent, int templateId, ConverterLink& link, StaticText& description,
                 const SensorCatalog& catalog, const Kind& kind);

    // The main window's current sensor of this kind, or null.
    virtual const SensorCurve* currentSensor() const = 0;
    virtual void rememberSensor(const SensorCurve& sensor) = 0;
    virtual TemperatureRange rangeOf(const SensorCurve& sensor) const = 0;
    // The converter writes of OK for the wiring list's entry.
    virtual void writeSensor(const SensorCurve& sensor, int wiring) = 0;

    ConverterLink& link;

private:
    void select(const SensorCurve* sensor);
    int chosenWiring() const;

    ComboBox* typeList;
    ValueDisplay* rangeText;
    ComboBox* wiringList;
    StaticText& description;
    const SensorCatalog& catalog;
    const Kind& kind;
    const SensorCurve* selected = nullptr;
};
