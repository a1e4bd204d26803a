#pragma once

#include "config/BackupFile.h"
#include "config/Json.h"
#include "config/RestorePlan.h"
#include "linearization/LinearizationTable.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An uploaded backup, checked whole and planned before anything is sent:
// the body of POST .../restore, .../diff and /api/batch/restore.
struct RestoreRequest {
    BackupFile file;
    // The choice for what the file cannot restore: "file", "keep" or "points".
    std::string linearization = "file";
    LinearizationTable table; // "points": the fit of the uploaded points
    std::vector<std::string> converters; // the batch's ids, in the body's order

    // planRestore's outcome; the plan points into table, so the request is
    // kept whole (never copied) while the plan is used.
    std::vector<std::string> obstacles;
    std::vector<std::string> faults;
    bool restorable = false;
    RestorePlan plan;
};

enum class RestoreBodyKind {
    Diff,    // a backup file as it is
    Restore, // a backup file, or {"backup", "linearization"}
    Batch,   // {"converters", "backup", "linearization"}
};

// Reads and checks the body by the rules of `dnx8 restore` and plans the
// restore. Nothing and a 400 body ({"error", "faults"}) when the body or the
// file is wrong; a file that needs a linearization choice still comes back
// (restorable false, faults and obstacles set): a dry run shows it.
std::unique_ptr<RestoreRequest> readRestoreBody(std::string_view body, RestoreBodyKind kind, Json& refusal);

// The refusal of a request that is not restorable: {"error", "faults",
// "obstacles", "choices"}.
Json notRestorableJson(const RestoreRequest& request);

// The choices a file with obstacles needs: ["keep", "points"].
Json linearizationChoices(const RestoreRequest& request);
