#pragma once

#include "config/Configuration.h"
#include "config/Json.h"
#include "config/RestorePlan.h"
#include "config/WriteOutcome.h"
#include "device/LinkFailure.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One restore carried out: the plan's writes, the read-back and its
// comparison with what was written.
struct RestoreResult {
    enum class Outcome {
        Verified,    // every write confirmed, read back equal
        Differences, // read back, but the converter holds other values (it clips)
        Interrupted, // a write was not confirmed: the rest was not sent
        Unread,      // every write confirmed, but the read-back failed
    };
    Outcome outcome = Outcome::Interrupted;
    WriteOutcome writes;
    LinkFailure failure = LinkFailure::None; // Interrupted: why
    std::vector<ConfigurationDifference> differences; // asked on the left
    std::vector<std::string> unread;
    // What the converter holds now of the keys written (Verified, Differences).
    Configuration held;
};

// "verified", "differences" or "failed" (interrupted or not read back).
std::string_view resultWord(RestoreResult::Outcome outcome);

// Requests done so far, of total, and the parameter name of the next one
// (of the last one when done == total).
using RestoreProgress = std::function<void(std::size_t done, std::size_t total, const std::string& next)>;

// The parameter names of the requests the plan sends, in order (a dry run).
std::vector<std::string> plannedRequests(const RestorePlan& plan);

// Writes the plan, reads back (identity is the one the converter answered)
// and compares. progress, when given, is told before every request and once
// at the end; it takes the link's stop check meanwhile, so it is for a link
// that has none (the server's workers).
RestoreResult restoreAndVerify(ConverterLink& link, const RestorePlan& plan, const std::string& identity,
                               const RestoreProgress& progress = {});

// `dnx8 restore --json`: {"restored", "writes"} and, once read back,
// {"equal", "differences": [{"name", "asked", "held"}]}.
Json restoreResultJson(const RestoreResult& result);
