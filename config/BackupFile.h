#pragma once

#include "config/Configuration.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A converter's configuration as kept in a file (JSON, docs/backup-format.md).
struct BackupFile {
    static constexpr std::string_view Format = "dnx8-configuration";
    static constexpr int Version = 1;

    // For the record only, as the window shows them; restore ignores them.
    std::optional<std::string> identity;
    std::optional<std::string> firmware;
    std::optional<std::int64_t> serialNumber;
    std::optional<std::string> output;
    std::optional<std::string> relays;

    Configuration configuration;
    // The recognised RTD or thermocouple ("Pt 100 (3850)"); empty for none.
    std::string sensor;
    // Keys may be missing (reads failed, or a value JSON cannot hold); the
    // reason of each is in `missing`.
    bool partial = false;
    std::map<std::string, std::string> missing;
    // What restore cannot put back from this file alone, and what to do.
    std::vector<std::string> notRestorable;
    // Free text a person may add; kept, never interpreted.
    std::optional<std::string> note;
};

// Moves every real that JSON cannot hold (NaN, infinity) out of the
// configuration into `missing`, with its bit pattern, and marks the file
// partial: restore then leaves that parameter alone. A relay or the
// polynomial goes as a whole, as it is written as a whole.
void settleUnwritableReals(BackupFile& file);

// The file's text, two-space indented, ending with a line end. Every real
// reads back as the same float bit for bit. Expects settleUnwritableReals.
std::string writeBackupJson(const BackupFile& file);

// Reads and checks a whole file: JSON syntax (duplicate keys too), format
// and version, the type and range of every value, finite reals, exactly ten
// coefficients, relay objects complete, no unknown keys, and every key
// present unless the file is partial. False with every fault found, each
// naming its place; `file` is then unusable.
bool readBackupJson(std::string_view text, BackupFile& file, std::vector<std::string>& faults);
