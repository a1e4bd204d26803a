#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// Texts the tool shows for the converter's codes (UTF-8).
namespace parameter_texts {

// Entries of the main window's "Vstup:" list, by position.
enum class InputKind : int {
    Voltage = 0,
    Current = 1,
    Resistance = 2,
    Potentiometer = 3,
    Thermometer = 4,
    Thermocouple = 5,
};
inline constexpr std::array<std::string_view, 6> InputKindTexts = {"Napětí",       "Proud",    "Odpor",
                                                                   "Potenciometr", "Teploměr", "Termočlánek"};

// What an InputType code shows. Codes 5 to 8 say Resistance; the caller
// turns them into Thermometer when the curve matches a stored RTD. Codes 13
// to 15 have no measurement text: it is the recognised thermocouple's name.
struct InputTypeDescription {
    InputKind kind;
    std::string_view measurement; // the "Měření:" text
};
// Nothing for codes above 15.
std::optional<InputTypeDescription> DescribeInputType(std::uint8_t code);

inline constexpr std::uint8_t MaxInputType = 15;
// First code of each kind; the dialogs add their list indices to it.
inline constexpr std::uint8_t FirstCurrentCode = 3;
inline constexpr std::uint8_t FirstResistanceCode = 5;
inline constexpr std::uint8_t FirstPotentiometerCode = 9;
inline constexpr std::uint8_t FirstThermocoupleCode = 13;

// Connection list of the resistance and thermometer inputs (code - 5).
inline constexpr std::array<std::string_view, 4> ResistanceConnectionTexts = {"Dvoudrát", "Dvoudrát+KS",
                                                                              "Třídrát", "Čtyřdrát"};
// Potentiometer: code = 9 + 2 * type + connection.
inline constexpr std::array<std::string_view, 2> PotentiometerTypeTexts = {"Absolutní", "Relativní"};
inline constexpr std::array<std::string_view, 2> PotentiometerConnectionTexts = {"Třídrát+KS", "Čtyřdrát"};
// Cold-junction compensation of the thermocouple inputs (code - 13).
inline constexpr std::array<std::string_view, 3> CompensationTexts = {
    "Interní kompenzace", "Dvoudrátová kompenzace", "Třídrátová kompenzace"};

inline constexpr std::array<std::string_view, 6> OutputTypeTexts = {
    "Pasivní 4 až 20 mA", "Aktivní 0 až 20 mA", "Aktivní 0 až 5 V",
    "Aktivní 0 až 10 V",  "Aktivní 0 až 22 mV", "Aktivní 0 až 80 mV"};
// Any code: taken modulo 6.
std::string_view OutputTypeText(std::uint8_t code);

inline constexpr std::array<std::string_view, 4> RelayOptionsTexts = {"Bez relé", "Relé 1", "Relé 2",
                                                                      "Relé 1 a 2"};
// Any code: its two low bits.
std::string_view RelayOptionsText(std::uint8_t code);

// ErrorSignalling codes 0..3, one radio button each.
inline constexpr std::array<std::string_view, 4> ErrorSignallingTexts = {"Bez signalizace", "Podproud",
                                                                         "Nadproud", "Podle vstupu"};
// Empty for a code beyond 3.
std::string_view ErrorSignallingText(std::uint8_t code);

// A live value the converter flags: input and process value, then value.
inline constexpr std::string_view LiveFaultText = "Porucha";
inline constexpr std::string_view LiveInvalidText = "Neplatná";

// Shown where a read that the tool needed has failed.
inline constexpr std::string_view CommunicationErrorText = "Chyba komunikace";

// RelaySettings::mode 0 and 1.
inline constexpr std::array<std::string_view, 2> RelayModeTexts = {"Hystereze", "Okno"};

} // namespace parameter_texts
