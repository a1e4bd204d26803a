#pragma once

#include "framework/StaticText.h"

#include <cstdint>

// A read-only, right-aligned field with a sunken edge that shows numbers in
// the tool's formats ("." as decimal point whatever the regional settings).
class ValueDisplay : public StaticText {
public:
    ValueDisplay(WindowObject* parent, std::string_view title, int x, int y, int width, int height);
    ValueDisplay(WindowObject* parent, int id);

    void SetInteger(std::int32_t value);
    // Fixed-point with exactly decimals digits after the point.
    void SetReal(float value, int decimals);
    // Exponent form with 10 significant digits: 1.000000000E+00.
    void SetRealAuto(float value);
    // Firmware version: high byte, ".", low byte, in hexadecimal.
    void SetVersion(std::uint16_t value);
    // The output fitting text of the code (taken modulo 6).
    void SetOutputKind(std::uint8_t code);
    // The relay fitting text of the code (its two low bits).
    void SetRelayKind(std::uint8_t code);
    // "min až max °C".
    void SetRange(std::int32_t min, std::int32_t max);
};
