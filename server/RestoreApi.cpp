#include "server/RestoreApi.h"

#include "server/AccessGuard.h"
#include "server/ApiRouter.h"
#include "server/RestoreBody.h"

#include "config/BackupComparison.h"
#include "config/BackupSources.h"
#include "config/BackupText.h"
#include "config/ConfigurationJson.h"
#include "config/ConverterOpening.h"
#include "config/LocalTime.h"
#include "config/RestoreRun.h"
#include "device/ParameterTexts.h"

#include <mutex>
#include <utility>

namespace {

const std::string communicationError(parameter_texts::CommunicationErrorText);

HttpResponse json(int status, const Json& body)
{
    return jsonResponse(status, core::jsonText(body));
}

HttpResponse refused(const Json& body)
{
    return json(400, body);
}

// The converter read as a backup reads it; the parameters whose reads failed
// in failed.
BackupFile readSide(ConverterLink& link, const std::string& identity, std::vector<std::string>& failed)
{
    BackupFile side = backupOf(readConverter(link, ReadScope::All, identity));
    failed = failedReads(side);
    return side;
}

HttpResponse readFailed(const std::vector<std::string>& failed, const std::string& what)
{
    return json(502, Json{{"error", communicationError + ": the converter did not answer every read (" +
                                        listedNames(failed) + ")" + what + ". Check the cable and try again."},
                          {"failedReads", failed}});
}

// A name from what the converter answered and the server's date only.
std::string backupFileName(const BackupFile& file)
{
    const std::string date = localTimeStamp(std::chrono::system_clock::now()).substr(0, 10);
    return "dnx8-" + (file.serialNumber ? std::to_string(*file.serialNumber) + "-" : std::string()) + date + ".json";
}

// As the input's writes tell it: frame `step` of `total` goes out now.
Json progressJson(std::size_t done, std::size_t total, const std::string& next)
{
    return Json{{"step", done + 1}, {"total", total}, {"operation", "restore"}, {"parameter", next}};
}

// The keys the converter holds after a restore, for the other tabs.
Json heldJson(const Configuration& held)
{
    Json changed = Json::object();
    const Json all = configurationJson(held);
    for (auto& [key, value] : all.items())
        if (!value.is_null())
            changed[key] = value;
    return changed;
}

// A restore on a worker's line: progress to the converter's streams, the
// result as the reply's JSON and its status.
std::pair<int, Json> restoreOn(ConverterLink& link, ConverterWorker& worker, const RestoreRequest& request)
{
    const RestoreResult result =
        restoreAndVerify(link, request.plan, worker.identity(),
                         [&worker](std::size_t done, std::size_t total, const std::string& next) {
                             if (done < total)
                                 worker.publishEvent("progress", progressJson(done, total, next));
                         });
    Json reply{{"result", resultWord(result.outcome)}};
    const Json outcome = restoreResultJson(result);
    for (auto& [key, value] : outcome.items())
        reply[key] = value;
    reply["notes"] = request.plan.notes;
    if (result.outcome == RestoreResult::Outcome::Interrupted) {
        std::string lines;
        for (const std::string& line : result.writes.lines("a restore of the same file"))
            lines += " " + line + ";";
        reply["error"] = communicationError + ": the restore was interrupted (" +
                         std::string(linkFailureText(result.failure)) + ");" + lines + " check the cable.";
        return {502, reply};
    }
    worker.publishConfiguration(heldJson(result.held));
    if (result.outcome == RestoreResult::Outcome::Unread) {
        reply["error"] = communicationError + ": every write was confirmed, but could not read back: " +
                         listedNames(result.unread) + "; check the cable and compare with POST .../diff.";
        reply["unread"] = result.unread;
        return {502, reply};
    }
    return {200, reply};
}

bool queryFlag(const HttpRequest& request, const std::string& name)
{
    return queryValue(request.target, name).value_or("") == "true";
}

// A fresh read of the converter as a backup file, on its worker, handed
// to answer; a converter that is not connected or a failed read is
// answered here (why says what the failure prevents).
template <typename Answer>
void onConverterSide(ConverterWorker& worker, std::shared_ptr<Exchange> exchange, std::string why, Answer answer)
{
    ConverterWorker* self = &worker;
    worker.submit([exchange, self, why = std::move(why), answer = std::move(answer)](ConverterLink* link) {
        if (!link) {
            exchange->respond(notConnected(self->port()));
            return true;
        }
        std::vector<std::string> failed;
        const BackupFile converter = readSide(*link, self->identity(), failed);
        if (!failed.empty()) {
            exchange->respond(readFailed(failed, why));
            return false;
        }
        answer(converter);
        return true;
    });
}

} // namespace

RestoreApi::RestoreApi(ConverterRegistry& converters, bool readOnly) : converters(converters), readOnly(readOnly)
{
}

void RestoreApi::backup(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange)
{
    auto worker = converters.find(id);
    if (!worker)
        return exchange->respond(unknownConverter(id));
    const bool partial = queryFlag(request, "partial");
    ConverterWorker* self = worker.get();
    worker->submit([exchange, self, partial](ConverterLink* link) {
        if (!link) {
            exchange->respond(notConnected(self->port()));
            return true;
        }
        std::vector<std::string> failed;
        const BackupFile file = readSide(*link, self->identity(), failed);
        if (!failed.empty() && !partial) {
            exchange->respond(
                readFailed(failed, ", so no backup was made; or ask with ?partial=true to keep what was read"));
            return false;
        }
        HttpResponse response = jsonResponse(200, writeBackupJson(file));
        response.headers.emplace_back("Content-Disposition",
                                      "attachment; filename=\"" + backupFileName(file) + "\"");
        response.headers.emplace_back("X-Dnx8-Not-Restorable", std::to_string(file.notRestorable.size()));
        exchange->respond(std::move(response));
        return failed.empty();
    });
}

void RestoreApi::diff(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange)
{
    auto worker = converters.find(id);
    if (!worker)
        return exchange->respond(unknownConverter(id));
    Json refusal;
    std::shared_ptr<RestoreRequest> upload = readRestoreBody(request.body, RestoreBodyKind::Diff, refusal);
    if (!upload)
        return exchange->respond(refused(refusal));
    const std::string port = worker->port();
    onConverterSide(*worker, exchange, ", so it cannot be compared", [exchange, port, upload](const BackupFile& converter) {
        exchange->respond(json(200, comparisonJson(port, "upload", converter, upload->file,
                                                   compareBackups(converter, upload->file))));
    });
}

void RestoreApi::restore(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange)
{
    const bool dryRun = queryFlag(request, "dryRun");
    if (readOnly && !dryRun)
        return exchange->respond(errorResponse(403, "the server runs with --read-only: nothing is written."));
    auto worker = converters.find(id);
    if (!worker)
        return exchange->respond(unknownConverter(id));
    Json refusal;
    std::shared_ptr<RestoreRequest> upload = readRestoreBody(request.body, RestoreBodyKind::Restore, refusal);
    if (!upload)
        return exchange->respond(refused(refusal));
    ConverterWorker* self = worker.get();
    if (dryRun) {
        onConverterSide(*worker, exchange, ", so the changes cannot be shown",
                        [exchange, self, upload](const BackupFile& converter) {
            const RestoreRequest& r = *upload;
            Json reply{{"dryRun", true},
                       {"restorable", r.restorable},
                       {"faults", r.faults},
                       {"obstacles", r.obstacles},
                       {"choices", linearizationChoices(r)},
                       {"linearization", r.linearization},
                       {"notes", r.restorable ? Json(r.plan.notes) : Json::array()},
                       {"writes", r.restorable ? Json(plannedRequests(r.plan)) : Json::array()},
                       {"diff", comparisonJson(self->port(), "upload", converter, r.file,
                                               compareBackups(converter, r.file))}};
            exchange->respond(json(200, reply));
        });
        return;
    }
    if (!upload->restorable)
        return exchange->respond(refused(notRestorableJson(*upload)));
    worker->submitWrite(request.peer, [exchange, self, upload](ConverterLink* link) {
        if (!link) {
            exchange->respond(unavailable(*self));
            return true;
        }
        auto [status, reply] = restoreOn(*link, *self, *upload);
        exchange->respond(json(status, reply));
        return status == 200;
    });
}

namespace {

// The replies of a batch, answered once the last converter is done.
class BatchReply {
public:
    BatchReply(std::shared_ptr<Exchange> exchange, std::size_t count)
        : exchange(std::move(exchange)), results(count), left(count)
    {
    }

    void finish(std::size_t index, Json result)
    {
        std::lock_guard lock(mutex);
        results[index] = std::move(result);
        if (--left > 0)
            return;
        Json summary{{"total", results.size()}, {"verified", 0}, {"differences", 0}, {"failed", 0}, {"skipped", 0}};
        for (const Json& r : results)
            summary[r["result"].get<std::string>()] = summary[r["result"].get<std::string>()].get<int>() + 1;
        exchange->respond(json(200, Json{{"results", results}, {"summary", summary}}));
    }

private:
    std::mutex mutex;
    std::shared_ptr<Exchange> exchange;
    std::vector<Json> results;
    std::size_t left;
};

} // namespace

void RestoreApi::batchRestore(const HttpRequest& request, std::shared_ptr<Exchange> exchange)
{
    if (readOnly)
        return exchange->respond(errorResponse(403, "the server runs with --read-only: nothing is written."));
    Json refusal;
    std::shared_ptr<RestoreRequest> upload = readRestoreBody(request.body, RestoreBodyKind::Batch, refusal);
    if (!upload)
        return exchange->respond(refused(refusal));
    std::vector<std::shared_ptr<ConverterWorker>> workers;
    for (const std::string& id : upload->converters) {
        auto worker = converters.find(id);
        if (!worker)
            return exchange->respond(refused(Json{
                {"error", "no converter \"" + id + "\" is served; GET /api/converters lists them. Nothing was sent."}}));
        workers.push_back(std::move(worker));
    }
    if (!upload->restorable)
        return exchange->respond(refused(notRestorableJson(*upload)));

    auto reply = std::make_shared<BatchReply>(exchange, workers.size());
    for (std::size_t i = 0; i < workers.size(); ++i) {
        ConverterWorker* self = workers[i].get();
        workers[i]->submitWrite(request.peer, [reply, i, self, upload](ConverterLink* link) {
            const Json status = self->status();
            Json entry{{"id", self->id()}, {"port", self->port()}, {"serialNumber", status["serialNumber"]}};
            auto skip = [&](const std::string& why) {
                entry["result"] = "skipped";
                entry["error"] = why;
                reply->finish(i, std::move(entry));
            };
            if (!link) {
                const auto& refusal = self->writeRefusal();
                skip(refusal ? refusal->message
                             : "the converter on " + self->port() + " is not connected at the moment; nothing was sent.");
                return true;
            }
            // Asked again right before the first write: the line may lead
            // to another device by now.
            const std::optional<std::string> identity = link->identify();
            if (!identity || *identity != AcceptedIdentity) {
                skip(identity ? "the device on " + self->port() + " answers as \"" + printableIdentity(*identity) +
                                    "\", not as a DNX8; nothing was sent."
                              : communicationError + ": the converter on " + self->port() +
                                    " does not answer; nothing was sent.");
                return identity.has_value();
            }
            auto [code, result] = restoreOn(*link, *self, *upload);
            for (auto& [key, value] : result.items())
                entry[key] = value;
            reply->finish(i, std::move(entry));
            return code == 200;
        });
    }
}
