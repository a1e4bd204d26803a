#include "server/ApiRouter.h"

#include "server/DataFolder.h"
#include "server/InputAnswers.h"
#include "server/PortAdmission.h"
#include "server/RecordRequest.h"
#include "server/SettingsBody.h"
#include "server/StaticAssets.h"

#include "device/ParameterTexts.h"
#include "dnx8_version.h"

#include <charconv>
#include <vector>

namespace {

const std::string communicationError(parameter_texts::CommunicationErrorText);

std::vector<std::string> pathParts(const std::string& target)
{
    const std::string path = target.substr(0, target.find('?'));
    std::vector<std::string> parts;
    std::size_t start = 1;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

HttpResponse methodNotAllowed(const std::string& allowed)
{
    HttpResponse response = errorResponse(405, "this address takes " + allowed + " only.");
    response.headers.emplace_back("Allow", allowed);
    return response;
}

} // namespace

HttpResponse notConnected(const std::string& port)
{
    return errorResponse(503, "the converter on " + port +
                                  " is not connected at the moment; the server keeps trying. Nothing was sent.");
}

// The newest lines a journal answer holds, unless ?limit= asks fewer or more.
constexpr std::size_t DefaultJournalLines = 200;
constexpr std::size_t MostJournalLines = 5000;

// ?limit=N from the target; DefaultJournalLines without it, nothing when it
// is no whole number 1..MostJournalLines or another parameter is given.
std::optional<std::size_t> journalLimit(const std::string& target)
{
    const std::size_t mark = target.find('?');
    if (mark == std::string::npos || mark + 1 == target.size())
        return DefaultJournalLines;
    const std::string query = target.substr(mark + 1);
    if (!query.starts_with("limit="))
        return std::nullopt;
    std::size_t limit = 0;
    const char* first = query.data() + 6;
    const char* last = query.data() + query.size();
    const auto [end, error] = std::from_chars(first, last, limit);
    if (error != std::errc() || end != last || first == last || limit < 1 || limit > MostJournalLines)
        return std::nullopt;
    return limit;
}

HttpResponse unknownConverter(const std::string& id)
{
    return errorResponse(404, "no converter \"" + id + "\" is served; GET /api/converters lists them.");
}

HttpResponse jsonResponse(int status, const std::string& json)
{
    return {status, "application/json; charset=utf-8", json, {{"Cache-Control", "no-store"}}};
}

HttpResponse unavailable(const ConverterWorker& worker, Json body)
{
    const auto& refusal = worker.writeRefusal();
    if (!refusal)
        return notConnected(worker.port());
    body["error"] = refusal->message;
    return jsonResponse(refusal->communication ? 502 : 500, core::jsonText(body));
}

ApiRouter::ApiRouter(ConverterRegistry& converters, const AccessGuard& guard, bool readOnly,
                     std::shared_ptr<DataFolder> data)
    : converters(converters), guard(guard), readOnly(readOnly), backups(converters, readOnly),
      data(std::move(data))
{
}

void ApiRouter::handle(const HttpRequest& request, std::shared_ptr<Exchange> exchange)
{
    if (auto refusal = guard.screen(request)) {
        exchange->respond(*refusal);
        return;
    }
    const std::string& method = request.method;
    const bool change = method != "GET" && method != "HEAD";
    if (change)
        if (auto refusal = guard.screenChange(request)) {
            exchange->respond(*refusal);
            return;
        }

    const std::vector<std::string> parts = pathParts(request.target);
    if (parts.empty() || parts[0] != "api") {
        if (method != "GET")
            return exchange->respond(methodNotAllowed("GET"));
        const EmbeddedFile* file = findWebFile(request.target.substr(0, request.target.find('?')));
        if (!file)
            return exchange->respond(errorResponse(404, "there is no such page."));
        HttpResponse response{200, std::string(file->contentType), std::string(file->bytes), {}};
        response.headers.emplace_back("Cache-Control", "no-cache");
        return exchange->respond(std::move(response));
    }

    const std::size_t n = parts.size();
    if (n == 2 && parts[1] == "server")
        return exchange->respond(method == "GET" ? serverInfo() : methodNotAllowed("GET"));
    if (n == 2 && parts[1] == "fit")
        return exchange->respond(method == "POST" ? answerFit(request) : methodNotAllowed("POST"));
    if (n == 2 && parts[1] == "ports")
        return exchange->respond(method == "GET" ? ports() : methodNotAllowed("GET"));
    if (n == 2 && parts[1] == "converters") {
        if (method == "GET")
            return exchange->respond(converterList());
        if (method == "POST")
            return connect(request, std::move(exchange));
        return exchange->respond(methodNotAllowed("GET, POST"));
    }
    if (n == 2 && parts[1] == "events")
        return method == "GET" ? benchEvents(*exchange) : exchange->respond(methodNotAllowed("GET"));
    if (n == 3 && parts[1] == "converters") {
        if (method == "DELETE")
            return exchange->respond(disconnect(parts[2]));
        return exchange->respond(methodNotAllowed("DELETE"));
    }
    if (n == 4 && parts[1] == "converters") {
        const std::string& id = parts[2];
        if (parts[3] == "reading")
            return method == "GET" ? reading(id, std::move(exchange)) : exchange->respond(methodNotAllowed("GET"));
        if (parts[3] == "events")
            return method == "GET" ? events(id, *exchange) : exchange->respond(methodNotAllowed("GET"));
        if (parts[3] == "settings")
            return method == "POST" ? settings(id, request, std::move(exchange))
                                    : exchange->respond(methodNotAllowed("POST"));
        if (parts[3] == "backup")
            return method == "GET" ? backups.backup(id, request, std::move(exchange))
                                   : exchange->respond(methodNotAllowed("GET"));
        if (parts[3] == "restore")
            return method == "POST" ? backups.restore(id, request, std::move(exchange))
                                    : exchange->respond(methodNotAllowed("POST"));
        if (parts[3] == "diff")
            return method == "POST" ? backups.diff(id, request, std::move(exchange))
                                    : exchange->respond(methodNotAllowed("POST"));
        if (parts[3] == "input")
            return method == "POST" ? input(id, request, std::move(exchange))
                                    : exchange->respond(methodNotAllowed("POST"));
        if (parts[3] == "journal")
            return exchange->respond(method == "GET" ? journal(id, request.target) : methodNotAllowed("GET"));
        if (parts[3] == "record")
            return method == "GET" ? record(id, request, std::move(exchange))
                                   : exchange->respond(methodNotAllowed("GET"));
    }
    if (n == 3 && parts[1] == "batch" && parts[2] == "restore")
        return method == "POST" ? backups.batchRestore(request, std::move(exchange))
                                : exchange->respond(methodNotAllowed("POST"));
    if (n == 5 && parts[1] == "converters" && parts[3] == "as-found")
        return exchange->respond(method == "GET" ? asFound(parts[2], parts[4]) : methodNotAllowed("GET"));
    exchange->respond(errorResponse(404, "there is no such API address; docs/serve.md lists them."));
}

HttpResponse ApiRouter::serverInfo() const
{
    Json json;
    json["version"] = DNX8_VERSION_TEXT;
    json["readOnly"] = readOnly;
    json["tokenRequired"] = guard.tokenRequired();
    return jsonResponse(200, core::jsonText(json));
}

HttpResponse ApiRouter::ports() const
{
    Json json = Json::array();
    for (const std::string& name : core::portNames())
        json.push_back(name);
    return jsonResponse(200, core::jsonText(json));
}

HttpResponse ApiRouter::converterList()
{
    Json json = Json::array();
    for (const auto& worker : converters.all())
        json.push_back(worker->status());
    return jsonResponse(200, core::jsonText(json));
}

void ApiRouter::connect(const HttpRequest& request, std::shared_ptr<Exchange> exchange)
{
    const Json body = Json::parse(request.body, nullptr, false);
    if (body.is_discarded() || !body.is_object() || body.size() != 1 || !body.contains("port") ||
        !body["port"].is_string())
        return exchange->respond(
            errorResponse(400, "send {\"port\": NAME} with a name from GET /api/ports, e.g. {\"port\": \"/dev/ttyUSB0\"}."));
    const std::string port = body["port"].get<std::string>();
    if (std::string refusal = portRefusal(port); !refusal.empty())
        return exchange->respond(errorResponse(400, refusal));
    auto worker = converters.add(port, false, [exchange](const ConverterOpening& opening, const std::string& reason, const Json& status) {
        if (opening.outcome == ConverterOpening::Outcome::Opened)
            exchange->respond(jsonResponse(201, core::jsonText(status)));
        else
            exchange->respond(errorResponse(422, reason));
    });
    if (!worker)
        exchange->respond(errorResponse(409, port + " is served already; GET /api/converters lists it."));
}

HttpResponse ApiRouter::disconnect(const std::string& id)
{
    if (!converters.remove(id))
        return unknownConverter(id);
    return {204, "", "", {}};
}

void ApiRouter::reading(const std::string& id, std::shared_ptr<Exchange> exchange)
{
    auto worker = converters.find(id);
    if (!worker)
        return exchange->respond(unknownConverter(id));
    ConverterWorker* self = worker.get();
    worker->submit([exchange, self](ConverterLink* link) {
        if (!link) {
            exchange->respond(notConnected(self->port()));
            return true;
        }
        std::vector<std::string> failed;
        Json reading = core::readAll(*link, self->identity(), failed);
        if (failed.empty()) {
            exchange->respond(jsonResponse(200, core::jsonText(reading)));
            return true;
        }
        std::string names;
        for (const std::string& name : failed)
            names += (names.empty() ? "" : ", ") + name;
        Json body;
        body["error"] = communicationError + ": the converter did not answer the reads of " + names +
                        ". Check the cable and read again.";
        body["reading"] = std::move(reading);
        exchange->respond(jsonResponse(502, core::jsonText(body)));
        return false;
    });
}

void ApiRouter::events(const std::string& id, Exchange& exchange)
{
    auto worker = converters.find(id);
    if (!worker)
        return exchange.respond(unknownConverter(id));
    HttpResponse head;
    AccessGuard::AddSecurityHeaders(head);
    head.headers.emplace_back("Cache-Control", "no-store");
    worker->watch(exchange.openStream(std::move(head.headers)));
}

void ApiRouter::benchEvents(Exchange& exchange)
{
    HttpResponse head;
    AccessGuard::AddSecurityHeaders(head);
    head.headers.emplace_back("Cache-Control", "no-store");
    converters.watchAll(exchange.openStream(std::move(head.headers)));
}

void ApiRouter::settings(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange)
{
    if (readOnly)
        return exchange->respond(errorResponse(403, "the server runs with --read-only: nothing is written."));
    auto worker = converters.find(id);
    if (!worker)
        return exchange->respond(unknownConverter(id));
    std::string problem;
    std::optional<SettingsBody> body = parseSettingsBody(request.body, problem);
    if (!body)
        return exchange->respond(errorResponse(400, problem));
    ConverterWorker* self = worker.get();
    worker->submitWrite(request.peer, [exchange, self, items = std::move(body->items)](ConverterLink* link) {
        if (!link) {
            exchange->respond(unavailable(*self, {{"echo", Json::object()}, {"differs", Json::array()}}));
            return true;
        }
        Json echo = Json::object();
        Json differs = Json::array();
        std::string failed;
        std::string notWritten;
        for (const SettingsBody::Item& item : items) {
            if (!failed.empty()) {
                notWritten += ", " + item.name;
                continue;
            }
            std::optional<SettingEcho> written = writeSetting(*link, item.setting);
            if (!written) {
                failed = item.name;
                notWritten = item.name;
                continue;
            }
            echo[item.name] = written->value;
            if (written->differs)
                differs.push_back(item.name);
        }
        if (!echo.empty())
            self->publishConfiguration(echo);
        Json reply;
        if (!failed.empty())
            reply["error"] = communicationError + ": the converter did not confirm " + failed +
                             "; not written: " + notWritten + ". Check the cable and write again.";
        reply["echo"] = std::move(echo);
        reply["differs"] = std::move(differs);
        exchange->respond(jsonResponse(failed.empty() ? 200 : 502, core::jsonText(reply)));
        return failed.empty();
    });
}

void ApiRouter::input(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange)
{
    if (readOnly)
        return exchange->respond(errorResponse(403, "the server runs with --read-only: nothing is written."));
    auto worker = converters.find(id);
    if (!worker)
        return exchange->respond(unknownConverter(id));
    answerInput(*worker, request, std::move(exchange));
}

HttpResponse ApiRouter::journal(const std::string& id, const std::string& target)
{
    auto worker = converters.find(id);
    if (!worker)
        return unknownConverter(id);
    const std::optional<std::size_t> limit = journalLimit(target);
    if (!limit)
        return errorResponse(400, "give ?limit=N with N from 1 to " + std::to_string(MostJournalLines) +
                                      " (the newest lines), or nothing for the newest " +
                                      std::to_string(DefaultJournalLines) + ".");
    const Json serial = worker->status()["serialNumber"];
    Json body;
    body["serialNumber"] = serial;
    body["lines"] = Json::array();
    body["more"] = false;
    body["asFound"] = Json::array();
    if (data && serial.is_number_integer()) {
        const std::int64_t number = serial.get<std::int64_t>();
        JournalFile::Lines lines = data->journal().read(
            [number](const Json& line) {
                const auto found = line.find("serialNumber");
                return found != line.end() && found->is_number_integer() &&
                       found->get<std::int64_t>() == number;
            },
            *limit);
        for (Json& line : lines.lines)
            body["lines"].push_back(std::move(line));
        body["more"] = lines.more;
        for (const AsFoundCopies::Copy& copy : data->copies().list(number)) {
            Json entry;
            entry["name"] = copy.name;
            entry["time"] = copy.time;
            entry["address"] = "/api/converters/" + id + "/as-found/" + copy.name;
            body["asFound"].push_back(std::move(entry));
        }
    }
    return jsonResponse(200, core::jsonText(body));
}

HttpResponse ApiRouter::asFound(const std::string& id, const std::string& name)
{
    auto worker = converters.find(id);
    if (!worker)
        return unknownConverter(id);
    const Json serial = worker->status()["serialNumber"];
    std::optional<std::string> text;
    if (data && serial.is_number_integer())
        text = data->copies().read(serial.get<std::int64_t>(), name);
    if (!text)
        return errorResponse(404, "this converter has no as-found copy of that name; GET /api/converters/" +
                                      id + "/journal lists them.");
    HttpResponse response = jsonResponse(200, *text);
    // The name is one of ours (listed above): letters, digits, "-", ".".
    response.headers.emplace_back("Content-Disposition", "attachment; filename=\"" + name + "\"");
    return response;
}

void ApiRouter::record(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange)
{
    auto worker = converters.find(id);
    if (!worker)
        return exchange->respond(unknownConverter(id));
    std::string problem;
    std::optional<RecordParticulars> particulars = parseRecordQuery(request.target, problem);
    if (!particulars)
        return exchange->respond(errorResponse(400, problem + ". Nothing was read."));
    ConverterWorker* self = worker.get();
    worker->submit([exchange, self, given = std::move(*particulars)](ConverterLink* link) {
        if (!link) {
            exchange->respond(notConnected(self->port()));
            return true;
        }
        std::vector<std::string> failed;
        std::string page = core::recordPage(*link, self->identity(), self->port(), given, failed);
        // A read that failed shows "Chyba komunikace" on the page; the status tells a script.
        HttpResponse response{failed.empty() ? 200 : 502, "text/html; charset=utf-8", {}, {}};
        response.headers.emplace_back("Content-Security-Policy", recordPagePolicy(page));
        response.headers.emplace_back("Cache-Control", "no-store");
        response.body = std::move(page);
        exchange->respond(std::move(response));
        return failed.empty();
    });
}
