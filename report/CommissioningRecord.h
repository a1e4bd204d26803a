#pragma once

#include "report/RecordPage.h"
#include "report/RecordParticulars.h"

#include <chrono>
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
    RecordParticulars particulars; // checked by particularsProblem
};

// The record of a configured converter with the window's Czech texts: the
// measuring point as given, identity, input, range, filter, scale, error
// state, relays, one snapshot of the live values, the curve the converter
// applies and lines for the technician and the customer to sign. A failed
// read shows "Chyba komunikace" in its place.
RecordPage commissioningRecord(const ConverterReading& reading, const RecordCircumstances& circumstances);

// The record's time: "2024-05-14 09:30:00 (UTC+02:00)", local.
std::string recordTimeText(std::chrono::system_clock::time_point at);
