#include "server/InputAnswers.h"

#include "server/ApiRouter.h"
#include "server/InputBody.h"

#include "config/ConfigurationJson.h"
#include "config/TemporaryPointFile.h"
#include "device/DryRunTransport.h"
#include "device/ParameterTexts.h"
#include "linearization/FitQuality.h"
#include "report/FitPlot.h"
#include "report/FitReportJson.h"

#include <charconv>

namespace {

const std::string communicationError(parameter_texts::CommunicationErrorText);

// The frames of a job's write sequence, counted on a line that reaches no port.
int framesOf(const InputJob& job)
{
    int frames = 0;
    ConverterLink dry(std::make_unique<DryRunTransport>());
    dry.setStopCheck([&frames] {
        ++frames;
        return false;
    });
    writeInput(dry, job);
    return frames;
}

// The input as the main window presents it, with the recognised sensor.
Json presentedInput(const ConverterReading& held)
{
    Json reading = readingJson(held);
    return reading["input"];
}

// The keys read back, for the views that show the converter.
Json readBackKeys(const Configuration& settings)
{
    Json keys = Json::object();
    const Json all = configurationJson(settings);
    for (const auto& [name, value] : all.items())
        if (!value.is_null())
            keys[name] = value;
    return keys;
}

std::string query(const std::string& target, const std::string& name)
{
    const std::size_t start = target.find('?');
    if (start == std::string::npos)
        return {};
    const std::string list = "&" + target.substr(start + 1);
    const std::size_t at = list.find("&" + name + "=");
    if (at == std::string::npos)
        return list.find("&" + name + "&") != std::string::npos || list.ends_with("&" + name) ? "true" : "";
    const std::size_t from = at + name.size() + 2;
    return list.substr(from, list.find('&', from) - from);
}

} // namespace

void answerInput(ConverterWorker& worker, const HttpRequest& request, std::shared_ptr<Exchange> exchange)
{
    std::string problem;
    std::optional<InputBody> body = parseInputBody(request.body, problem);
    if (!body)
        return exchange->respond(errorResponse(400, problem));
    InputProblem refusal;
    std::optional<InputJob> prepared = prepareInput(std::move(body->request), refusal);
    if (!prepared)
        return exchange->respond(
            errorResponse(400, refusal.option + ": " + refusal.message + ". Nothing was sent to the converter."));
    auto job = std::make_shared<InputJob>(std::move(*prepared));
    std::optional<PointFileCheck> pointCheck = std::move(body->pointCheck);
    ConverterWorker* self = &worker;
    worker.submitWrite(request.peer, [exchange, self, job, pointCheck](ConverterLink* link) {
        if (!link) {
            exchange->respond(unavailable(*self));
            return true;
        }
        const std::vector<std::string> ownUnread = takeConverterValues(*link, *job);
        // Progress by frame: the stop check is asked before every request.
        const int total = framesOf(*job);
        int step = 0;
        link->setStopCheck([self, total, &step] {
            if (step < total)
                self->publishEvent("progress", Json{{"step", ++step}, {"total", total}});
            return false;
        });
        const InputResult result = runInput(*link, *job);
        link->setStopCheck(nullptr);

        Json reply = inputResultJson(result);
        reply["input"] = presentedInput(result.held);
        reply["ownValuesUnread"] = ownUnread;
        if (pointCheck)
            reply["pointFile"] = withSkippedLines(Json::object(), *pointCheck);
        self->publishConfiguration(readBackKeys(result.held.settings));
        int status = 200;
        if (!result.complete) {
            std::string lines;
            for (const std::string& line : result.outcome.lines("the same input configuration again"))
                lines += " " + line + ".";
            reply["error"] = communicationError + ": the input's write sequence was interrupted." + lines +
                             " Check the cable.";
            status = 502;
        } else if (!result.check.unread.empty()) {
            std::string names;
            for (const std::string& name : result.check.unread)
                names += (names.empty() ? "" : ", ") + name;
            reply["error"] = communicationError + ": every write was confirmed, but " + names +
                             " could not be read back; check the cable and read again.";
            status = 502;
        }
        exchange->respond(jsonResponse(status, core::jsonText(reply)));
        return status == 200;
    });
}

HttpResponse answerFit(const HttpRequest& request)
{
    const nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
    if (body.is_discarded() || !body.is_string())
        return errorResponse(400, "send the point file's text as one JSON string, e.g. \"0 0\\n1 1.5\\n2 4.1\\n\".");
    const std::string text = body.get<std::string>();

    FitChoice choice;
    const std::string order = query(request.target, "order");
    const std::string spline = query(request.target, "spline");
    if (!order.empty() && !spline.empty())
        return errorResponse(400, "ask for order=N or spline=true, not both.");
    if (!order.empty()) {
        int value = 0;
        const auto [end, error] = std::from_chars(order.data(), order.data() + order.size(), value);
        if (error != std::errc() || end != order.data() + order.size() || value < 2 || value > 9)
            return errorResponse(400, "order is a whole number 2..9, not \"" + order + "\".");
        choice.order = value;
    }
    if (!spline.empty()) {
        if (spline != "true")
            return errorResponse(400, "spline=true asks for the spline's plot.");
        choice.spline = true;
    }

    LinearizationTable table;
    PointFileCheck check;
    std::string problem;
    if (!importPointText(text, choice, table, check, problem)) {
        Json reply = withSkippedLines(Json::object(), check);
        reply["error"] = problem + ".";
        return jsonResponse(400, core::jsonText(reply));
    }
    // The report and the plot read the same text again.
    TemporaryPointFile file;
    FitQualityReport report;
    if (!file.write(text) || !assessFit(file.path(), report))
        return errorResponse(500, "the server cannot keep the point file for reading (its temporary folder).");
    Json reply = withSkippedLines(fitReportJson(report), check);
    Json plot = Json::object();
    plot["method"] = choice.spline ? "spline" : "polynomial";
    plot["degree"] = choice.spline ? Json(nullptr) : Json(table.polynomialDegree);
    plot["svg"] = fitPlotSvg(file.path(), table, std::string());
    reply["plot"] = plot;
    return jsonResponse(200, core::jsonText(reply));
}
