#pragma once

#include "device/ConverterLink.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class RtdCatalog;
class RtdCurve;
class ThermocoupleCatalog;
class ThermocoupleCurve;

// What the main window shows for a converter's InputType: the entry of the
// "Vstup:" list, the "Měření:" text and the recognised sensor. An empty
// member leaves the window's present state alone.
struct InputPresentation {
    std::optional<int> listPosition;
    std::optional<std::string> measurement;
    // Set for the resistance codes (5-8): the matching RTD or null.
    std::optional<const RtdCurve*> rtdCurve;
    // Set for the thermocouple codes (13-15): the matching type or null.
    std::optional<const ThermocoupleCurve*> thermocoupleCurve;
    // The connection of a resistance, thermometer or potentiometer input, or
    // a thermocouple's cold-junction compensation; empty for the others.
    std::string_view wiring;
};

// The converter's polynomial, as read before the input type.
struct CurveReading {
    std::uint8_t degree = 0;
    CurveCoefficients coefficients{};
};

// curve is empty when the converter's polynomial could not be read: no
// sensor is recognised then. Shared by the window and the command line.
InputPresentation PresentInput(std::uint8_t inputType, const std::optional<CurveReading>& curve,
                               const RtdCatalog& rtds, const ThermocoupleCatalog& thermocouples);
