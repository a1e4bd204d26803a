#pragma once

#include "config/Json.h"
#include "device/ConverterLink.h"

#include <functional>
#include <string>
#include <vector>

// What became of the writes of a sequence, told truthfully when it did not
// all go through: a write without an echo may or may not have reached the
// converter, which is not the same as one never sent.
struct WriteOutcome {
    std::vector<std::string> confirmed;   // echoed
    std::vector<std::string> unconfirmed; // sent, no proper echo: it may hold it or not
    std::vector<std::string> refused;     // the converter answered NAK
    std::vector<std::string> notSent;     // never left (stopped, the port gone, or after a failure)

    bool complete() const { return unconfirmed.empty() && refused.empty() && notSent.empty(); }
    // The outcome for a report, one line each: "confirmed: InputType, ...";
    // finish is the command that completes the job.
    std::vector<std::string> lines(const std::string& finish) const;
};

// The parameter name of a request code ("Filter", "Commit", "Segment").
std::string requestName(std::uint8_t code);

// Runs sequence on link with the link's journal on and sets out from it,
// against a dry run of the same sequence for the writes it never reached.
// Returns whether every write was confirmed.
bool runJournalled(ConverterLink& link, const std::function<void(ConverterLink&)>& sequence, WriteOutcome& out);

// {"confirmed": [...], "unconfirmed": [...], "refused": [...], "notSent": [...]}.
Json writeOutcomeJson(const WriteOutcome& outcome);
