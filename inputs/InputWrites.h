#pragma once

#include "device/ConverterLink.h"

#include <array>
#include <cstdint>
#include <optional>

class LinearizationTable;
class RtdCurve;
class ThermocoupleCurve;
class WaitCursorHook;

// The write sequences that configure the converter's input. The input
// dialogs run them on OK and the command line runs them too, so both send
// the same frames. Every sequence ends with Commit; no write is checked or
// retried, as a half-written input is still finished by Commit.

// What happens to the range and linearization after the input type.
struct LinearizationChoice {
    enum class Mode {
        Keep,      // "Zapnuta": the converter keeps its range and linearization
        Off,       // "Vypnuta": the given range, no polynomial, no segments
        Overwrite, // "Přepsat": the table's range and its polynomial or segments
    };
    Mode mode = Mode::Keep;
    float rangeMin = 0;                        // Off
    float rangeMax = 0;                        // Off
    const LinearizationTable* table = nullptr; // Overwrite
};

// What the converter holds after a linearization choice: the range, then
// either segments (no polynomial) or the polynomial (no segments). A
// table's segment count and degree are clipped as the converter stores
// them; coefficients are written only for a degree above 0.
struct StoredLinearization {
    float rangeMin = 0;
    float rangeMax = 0;
    std::uint8_t segmentCount = 0;
    std::uint8_t curveDegree = 0;
    std::optional<CurveCoefficients> coefficients;
};
// Empty for Keep (nothing is written) and for Overwrite without a table.
std::optional<StoredLinearization> storedLinearization(const LinearizationChoice& choice);
StoredLinearization storedAfterUpload(const LinearizationTable& table);

// A voltage, current, resistance or potentiometer input: the input type,
// then the divider and the shunt where given, then the linearization.
struct PlainInput {
    std::uint8_t inputType = 0;
    std::optional<float> divider;
    std::optional<float> shunt;
};
bool writePlainInput(ConverterLink& link, const PlainInput& input, const LinearizationChoice& linearization,
                     WaitCursorHook* waitCursor = nullptr);

// A resistance thermometer or thermocouple: input type, range (ohms or mV)
// and the polynomial (t(R), or the cold-junction E(R)).
struct SensorInput {
    std::uint8_t inputType = 0;
    float rangeMin = 0;
    float rangeMax = 0;
    CurveCoefficients coefficients{};
    std::uint8_t degree = 0;
};
// The thermometer's values: the range is its resistance at the ends of its
// temperature range. wiring is 0..3 ("Dvoudrát" .. "Čtyřdrát").
SensorInput rtdInput(const RtdCurve& rtd, int wiring);
// The thermocouple's values: its EMF range and cold-junction polynomial.
// compensation is 0..2 (internal, two-wire, three-wire).
SensorInput thermocoupleInput(const ThermocoupleCurve& thermocouple, int compensation);
// The four inverse-characteristic pieces of a thermocouple, unused slots
// as the all-zero piece.
using EmfPieces = std::array<EmfRangePiece, 4>;
EmfPieces thermocouplePieces(const ThermocoupleCurve& thermocouple);

// Input type, range, polynomial and degree, no segments, Commit.
bool writeRtdInput(ConverterLink& link, const SensorInput& input);
// Input type, range, all four pieces (so no piece of an earlier type stays
// behind), polynomial and degree, no segments, Commit; under the wait cursor.
bool writeThermocoupleInput(ConverterLink& link, const SensorInput& input, const EmfPieces& pieces,
                            WaitCursorHook* waitCursor = nullptr);
