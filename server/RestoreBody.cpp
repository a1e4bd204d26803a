#include "server/RestoreBody.h"

#include "config/BackupText.h"
#include "server/InputBody.h"

#include <set>
#include <utility>

namespace {

constexpr std::size_t MostConverters = 64;
const std::string UploadName = "the upload";

std::size_t skipSpace(std::string_view text, std::size_t at)
{
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r'))
        ++at;
    return at;
}

// The end of the JSON value starting at `at` (after it), in text that is
// known to be valid JSON.
std::size_t valueEnd(std::string_view text, std::size_t at)
{
    int depth = 0;
    bool inString = false;
    for (std::size_t i = at; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"') {
                inString = false;
                if (depth == 0)
                    return i + 1;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            if (--depth == 0)
                return i + 1;
            if (depth < 0)
                return i;
        } else if (depth == 0 && (c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\r')) {
            return i;
        }
    }
    return text.size();
}

// The text of each member of a valid top-level object, so the backup inside
// a wrapper is checked as written (duplicate keys and the digits of every
// real are the backup reader's to judge, not a parser's in between).
std::vector<std::pair<std::string, std::string_view>> memberTexts(std::string_view text)
{
    std::vector<std::pair<std::string, std::string_view>> members;
    std::size_t at = skipSpace(text, 0) + 1; // past '{'
    while (true) {
        at = skipSpace(text, at);
        if (at >= text.size() || text[at] != '"')
            break;
        const std::size_t keyEnd = valueEnd(text, at);
        std::string key(text.substr(at + 1, keyEnd - at - 2));
        at = skipSpace(text, keyEnd) + 1; // past ':'
        at = skipSpace(text, at);
        const std::size_t end = valueEnd(text, at);
        members.emplace_back(std::move(key), text.substr(at, end - at));
        at = skipSpace(text, end);
        if (at >= text.size() || text[at] != ',')
            break;
        ++at;
    }
    return members;
}

Json badBody(const std::string& message)
{
    return Json{{"error", message}};
}

// "keep", {"points": TEXT, "order": N} or {"points": TEXT, "spline": true}.
bool readLinearization(const Json& value, RestoreRequest& request, Json& refusal)
{
    const std::string expected =
        "\"linearization\" is \"keep\", {\"points\": \"<point file text>\", \"order\": N} or "
        "{\"points\": \"<point file text>\", \"spline\": true}";
    if (value.is_string() && value.get<std::string>() == "keep") {
        request.linearization = "keep";
        return true;
    }
    if (!value.is_object() || !value.contains("points") || !value["points"].is_string()) {
        refusal = badBody(expected + ". Nothing was sent.");
        return false;
    }
    FitChoice choice;
    for (const auto& [key, item] : value.items()) {
        if (key == "points")
            continue;
        if (key == "order" && item.is_number_integer() && item.get<std::int64_t>() >= 0 &&
            item.get<std::int64_t>() <= 99) {
            choice.order = static_cast<int>(item.get<std::int64_t>());
        } else if (key == "spline" && item.is_boolean()) {
            choice.spline = item.get<bool>();
        } else {
            refusal = badBody(expected + "; \"" + key + "\" is not one of them. Nothing was sent.");
            return false;
        }
    }
    if (choice.order && choice.spline) {
        refusal = badBody("\"linearization\" takes \"order\" or \"spline\", not both. Nothing was sent.");
        return false;
    }
    PointFileCheck check;
    std::string problem;
    if (!importPointText(value["points"].get<std::string>(), choice, request.table, check, problem)) {
        refusal = badBody(problem + ". Nothing was sent.");
        return false;
    }
    request.linearization = "points";
    return true;
}

bool readConverterIds(const Json& value, RestoreRequest& request, Json& refusal)
{
    const std::string expected = "\"converters\" is a list of 1 to " + std::to_string(MostConverters) +
                                 " ids from GET /api/converters, each once";
    if (!value.is_array() || value.empty() || value.size() > MostConverters) {
        refusal = badBody(expected + ". Nothing was sent.");
        return false;
    }
    std::set<std::string> seen;
    for (const Json& id : value) {
        if (!id.is_string() || !seen.insert(id.get<std::string>()).second) {
            refusal = badBody(expected + "; " + id.dump() + " is not. Nothing was sent.");
            return false;
        }
        request.converters.push_back(id.get<std::string>());
    }
    return true;
}

} // namespace

std::unique_ptr<RestoreRequest> readRestoreBody(std::string_view body, RestoreBodyKind kind, Json& refusal)
{
    const Json parsed = Json::parse(body, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        refusal = badBody("the body is no JSON object; send a backup file as dnx8 backup writes it. "
                          "Nothing was sent.");
        return nullptr;
    }
    auto request = std::make_unique<RestoreRequest>();
    std::string_view backupText = body;
    const bool wrapped = kind == RestoreBodyKind::Batch || (kind == RestoreBodyKind::Restore && parsed.contains("backup") &&
                                                            !parsed.contains("format"));
    if (wrapped) {
        const std::vector<std::pair<std::string, std::string_view>> members = memberTexts(body);
        std::set<std::string> seen;
        bool hasBackup = false;
        for (const auto& [key, text] : members) {
            if (!parsed.contains(key)) { // a key written with escapes: no key of ours
                refusal = badBody("unknown key \"" + key + "\". Nothing was sent.");
                return nullptr;
            }
            if (!seen.insert(key).second) {
                refusal = badBody("\"" + key + "\" is given twice. Nothing was sent.");
                return nullptr;
            }
            if (key == "backup") {
                backupText = text;
                hasBackup = true;
            } else if (key == "linearization") {
                if (!readLinearization(parsed[key], *request, refusal))
                    return nullptr;
            } else if (key == "converters" && kind == RestoreBodyKind::Batch) {
                if (!readConverterIds(parsed[key], *request, refusal))
                    return nullptr;
            } else {
                refusal = badBody(std::string("unknown key \"") + key + "\"; the body is " +
                                  (kind == RestoreBodyKind::Batch
                                       ? "{\"converters\": [ids], \"backup\": {...}, \"linearization\": ...}"
                                       : "a backup file or {\"backup\": {...}, \"linearization\": ...}") +
                                  ". Nothing was sent.");
                return nullptr;
            }
        }
        if (!hasBackup || (kind == RestoreBodyKind::Batch && request->converters.empty())) {
            refusal = badBody(kind == RestoreBodyKind::Batch
                                  ? "send {\"converters\": [ids], \"backup\": {...}}. Nothing was sent."
                                  : "send a backup file or {\"backup\": {...}}. Nothing was sent.");
            return nullptr;
        }
    }

    std::vector<std::string> faults;
    std::string summary;
    if (!checkBackupText(backupText, UploadName, request->file, faults, summary)) {
        refusal = Json{{"error", summary}, {"faults", faults}};
        return nullptr;
    }
    if (kind == RestoreBodyKind::Diff)
        return request;

    RestoreLinearization linearization;
    if (request->linearization == "keep")
        linearization.source = RestoreLinearization::Source::Keep;
    else if (request->linearization == "points")
        linearization = {RestoreLinearization::Source::Overwrite, &request->table};
    request->obstacles = restoreObstacles(request->file.configuration);
    request->restorable = planRestore(request->file, linearization, request->plan, request->faults);
    return request;
}

Json linearizationChoices(const RestoreRequest& request)
{
    return request.obstacles.empty() ? Json::array() : Json{"keep", "points"};
}

Json notRestorableJson(const RestoreRequest& request)
{
    return Json{{"error", UploadName + " cannot be restored as it is (" + request.faults.front() +
                              "). Nothing was sent."},
                {"faults", request.faults},
                {"obstacles", request.obstacles},
                {"choices", linearizationChoices(request)}};
}
