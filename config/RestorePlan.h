#pragma once

#include "config/BackupFile.h"
#include "config/Configuration.h"
#include "inputs/InputWrites.h"
#include "linearization/LinearizationTable.h"

#include <string>
#include <vector>

class ConverterLink;
class ThermocoupleCurve;

// The name of the RTD or thermocouple the configuration's input type and
// polynomial stand for; empty when there is none (or keys are missing).
std::string recognisedSensor(const Configuration& configuration);

// What a file cannot put back by itself, each with what to do instead: a
// segment table, and the EMF pieces of a thermocouple that matches no
// built-in type (neither can be read from a converter). Empty when the
// configuration can be restored in full.
std::vector<std::string> restoreObstacles(const Configuration& configuration);

// What restore does with the input's range and linearization.
struct RestoreLinearization {
    enum class Source {
        File,      // the file's range and polynomial, by the dialog's sequence
        Keep,      // --keep-linearization: the target keeps its own
        Overwrite, // --linearization POINTS: the table fitted from the points
    };
    Source source = Source::File;
    const LinearizationTable* table = nullptr; // Overwrite; must outlive the plan
};

// The writes of one restore, decided before anything is sent. Not copyable:
// the plain input's choice may point at the table inside.
class RestorePlan {
public:
    enum class InputSequence { None, Plain, Rtd, Thermocouple };

    // Every key written, with the value the target should then hold; the
    // read-back is compared with these keys only.
    Configuration expected;
    InputSequence sequence = InputSequence::None;
    // Plain input: the linearization part of the dialog's sequence.
    LinearizationChoice::Mode mode = LinearizationChoice::Mode::Keep;
    const LinearizationTable* table = nullptr;
    // RTD and thermocouple: the file's values; the thermocouple's catalog
    // entry supplies the EMF pieces.
    SensorInput sensor;
    const ThermocoupleCurve* thermocouple = nullptr;
    // Keys of the file that are not written, and why.
    std::vector<std::string> notes;

    RestorePlan() = default;
    RestorePlan(const RestorePlan&) = delete;
    RestorePlan& operator=(const RestorePlan&) = delete;

    // A polynomial of the file, written by the plain input's sequence.
    LinearizationTable fileTable;
};

// Decides the writes. False with the faults (nothing may be sent then): the
// file cannot be restored in full and no linearization option says what to
// do, or its sensor name contradicts its polynomial.
bool planRestore(const BackupFile& file, const RestoreLinearization& linearization, RestorePlan& plan,
                 std::vector<std::string>& faults);

// Divider, Shunt, the input by its dialog's sequence (ending with Commit),
// Filter, ScaleMin, ScaleMax, ErrorSignalling, Relay1, Relay2: each only
// where the plan holds it. The first step left unanswered ends it (false);
// within the input's sequence every write is made, as in the dialog.
bool runRestore(ConverterLink& link, const RestorePlan& plan);
