#pragma once

#include "config/Configuration.h"
#include "config/ConverterReading.h"
#include "config/Json.h"
#include "config/WriteOutcome.h"
#include "inputs/InputWrites.h"
#include "linearization/LinearizationTable.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class WaitCursorHook;

// One input configuration in the words of `dnx8 input`, shared by the
// command line and the served page: the same words, the same write
// sequence, the same read-back and verification.

// The words, in the order of the dialogs' lists.
namespace input_words {
extern const std::vector<std::string> Kinds; // voltage, current, resistance, potentiometer, rtd, thermocouple
extern const std::vector<std::string> VoltageVariants;
extern const std::vector<std::string> CurrentVariants;
extern const std::vector<std::string> Wirings;
extern const std::vector<std::string> PotentiometerModes;
extern const std::vector<std::string> PotentiometerWirings;
extern const std::vector<std::string> RtdSensors; // catalog order
extern const std::vector<std::string> ThermocoupleTypes;
extern const std::vector<std::string> Compensations;

// The position of word in names, any case; -1 when it is none of them.
int indexOf(const std::vector<std::string>& names, std::string_view word);
// "100mV, 1V or 10V".
std::string listed(const std::vector<std::string>& names);
} // namespace input_words

enum class InputKind { Voltage, Current, Resistance, Potentiometer, Rtd, Thermocouple };

// The first four kinds take a divider or shunt and the linearization choice.
constexpr bool isPlainKind(InputKind kind)
{
    return kind != InputKind::Rtd && kind != InputKind::Thermocouple;
}

// What the user chose; the list choices as positions in the word lists.
struct InputRequest {
    InputKind kind = InputKind::Voltage;
    int variant = 0;      // voltage, current
    int wiring = 0;       // resistance, potentiometer, rtd
    int mode = 0;         // potentiometer
    int sensor = 0;       // rtd
    int type = 0;         // thermocouple
    int compensation = 0; // thermocouple
    std::optional<float> divider;
    std::optional<float> shunt;
    LinearizationChoice::Mode linearization = LinearizationChoice::Mode::Keep;
    float rangeMin = 0; // Off
    float rangeMax = 0;
    std::unique_ptr<LinearizationTable> table; // Overwrite: the point file's fit
};

// Why a request cannot be written: the option it concerns ("divider") and
// what is wrong.
struct InputProblem {
    std::string option;
    std::string message;
};

// The prepared job: the write sequence's values and what a successful
// sequence leaves in the converter.
struct InputJob {
    InputKind kind = InputKind::Voltage;
    PlainInput plain;
    LinearizationChoice linearization;
    std::unique_ptr<LinearizationTable> table;
    SensorInput sensor;
    EmfPieces pieces{};
    // An untouched divider or shunt: the converter's own is written back,
    // as the dialog writes what its edit holds.
    bool keepDivider = false;
    bool keepShunt = false;
    // Only the keys written.
    Configuration expected;
};

// The job, or nothing with problem set (a divider for the 10V input, a
// shunt for the 20mA input).
std::optional<InputJob> prepareInput(InputRequest request, InputProblem& problem);

// Reads the converter's own divider or shunt where the job keeps it; the
// names of those that could not be read (they are then not written).
std::vector<std::string> takeConverterValues(ConverterLink& link, InputJob& job);

// The job's write sequence, the dialogs' frames, ending with Commit.
void writeInput(ConverterLink& link, const InputJob& job, WaitCursorHook* waitCursor = nullptr);

// What became of a job: the writes, the input read back and compared.
struct InputResult {
    WriteOutcome outcome;
    bool complete = false; // every write confirmed
    ConverterReading held;
    WriteCheck check;
};

// Writes (journalled), reads the input back and verifies it.
InputResult runInput(ConverterLink& link, const InputJob& job);

// `dnx8 input --json`: {"configuration" as read back, "writes",
// "complete", "unread", "mismatches": [{"name", "asked", "held"}]}.
Json inputResultJson(const InputResult& result);
