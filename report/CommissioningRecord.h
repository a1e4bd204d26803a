#pragma once

#include "report/RecordPage.h"

#include <string>

class LinearizationTable;
struct ConverterReading;

// Where and when a converter was read, and the point file of its user
// linearization if the technician gave one.
struct RecordCircumstances {
    std::string port;
    std::string time;
    const LinearizationTable* linearization = nullptr;
    std::string linearizationFile;
};

// The record of a configured converter with the window's Czech texts:
// identity, input, range, filter, scale, error state, relays, one snapshot
// of the live values and the curve the converter applies. A failed read
// shows "Chyba komunikace" in its place.
RecordPage commissioningRecord(const ConverterReading& reading, const RecordCircumstances& circumstances);
