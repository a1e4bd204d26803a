#include "config/RestoreRun.h"

#include "config/BackupComparison.h"
#include "config/ConverterReading.h"
#include "device/DryRunTransport.h"

std::string_view resultWord(RestoreResult::Outcome outcome)
{
    switch (outcome) {
    case RestoreResult::Outcome::Verified:
        return "verified";
    case RestoreResult::Outcome::Differences:
        return "differences";
    case RestoreResult::Outcome::Interrupted:
    case RestoreResult::Outcome::Unread:
        break;
    }
    return "failed";
}

std::vector<std::string> plannedRequests(const RestorePlan& plan)
{
    ConverterLink dry(std::make_unique<DryRunTransport>());
    dry.startJournal();
    runRestore(dry, plan);
    std::vector<std::string> names;
    for (const LinkTransaction& t : dry.stopJournal())
        names.push_back(requestName(t.code));
    return names;
}

RestoreResult restoreAndVerify(ConverterLink& link, const RestorePlan& plan, const std::string& identity,
                               const RestoreProgress& progress)
{
    RestoreResult result;
    const std::vector<std::string> planned = progress ? plannedRequests(plan) : std::vector<std::string>();
    if (progress) {
        // Told before each request by the link's hook for it.
        auto done = std::make_shared<std::size_t>(0);
        link.setStopCheck([&progress, &planned, done] {
            if (*done < planned.size())
                progress(*done, planned.size(), planned[*done]);
            ++*done;
            return false;
        });
    }
    const bool complete = runJournalled(link, [&](ConverterLink& l) { runRestore(l, plan); }, result.writes);
    result.failure = link.lastFailure();
    if (progress) {
        link.setStopCheck(nullptr);
        if (complete)
            progress(planned.size(), planned.size(), planned.empty() ? std::string() : planned.back());
    }
    if (!complete)
        return result; // Interrupted
    const Configuration readBack = readConverter(link, ReadScope::All, identity).settings;
    const WriteCheck check = checkWrites(plan.expected, readBack);
    result.held = keysOf(readBack, plan.expected);
    result.unread = check.unread;
    result.differences = check.differences;
    result.outcome = !check.unread.empty()        ? RestoreResult::Outcome::Unread
                     : check.differences.empty() ? RestoreResult::Outcome::Verified
                                                 : RestoreResult::Outcome::Differences;
    return result;
}

Json restoreResultJson(const RestoreResult& result)
{
    Json json{{"restored", result.outcome != RestoreResult::Outcome::Interrupted},
              {"writes", writeOutcomeJson(result.writes)}};
    if (result.outcome == RestoreResult::Outcome::Verified || result.outcome == RestoreResult::Outcome::Differences) {
        json["equal"] = result.differences.empty();
        json["differences"] = differencesJson(result.differences, "asked", "held");
    }
    return json;
}
