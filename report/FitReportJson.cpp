#include "report/FitReportJson.h"

#include "linearization/FitQuality.h"
#include "linearization/PointFileCheck.h"

#include <optional>

namespace {

Json figuresJson(const std::optional<ResidualFigures>& figures, double ResidualFigures::*member)
{
    return figures ? Json((*figures).*member) : Json(nullptr);
}

} // namespace

Json fitReportJson(const FitQualityReport& report)
{
    Json entries = Json::array();
    for (const FitQualityEntry& entry : report.entries) {
        Json json = Json::object();
        json["method"] = entry.method == FitMethod::Spline ? "spline" : "polynomial";
        if (entry.method == FitMethod::Polynomial)
            json["degree"] = entry.degree;
        json["maxResidual"] = figuresJson(entry.sent, &ResidualFigures::maxResidual);
        json["maxResidualAt"] = figuresJson(entry.sent, &ResidualFigures::maxResidualAt);
        json["rmsResidual"] = figuresJson(entry.sent, &ResidualFigures::rmsResidual);
        json["maxResidual80"] = figuresJson(entry.exact, &ResidualFigures::maxResidual);
        json["rmsResidual80"] = figuresJson(entry.exact, &ResidualFigures::rmsResidual);
        json["float32Warning"] = entry.float32Warning;
        if (entry.method == FitMethod::Polynomial)
            json["noBetterThan"] = entry.noBetterThan != 0 ? Json(entry.noBetterThan) : Json(nullptr);
        entries.push_back(json);
    }
    Json json = Json::object();
    json["points"] = report.count;
    json["min"] = report.min;
    json["max"] = report.max;
    json["preselected"] = report.preselectedOrder;
    json["lowestWithin10Percent"] =
        report.recommendedOrder != 0 ? Json(report.recommendedOrder) : Json(nullptr);
    json["report"] = entries;
    return json;
}

Json withSkippedLines(Json json, const PointFileCheck& check)
{
    Json lines = Json::array();
    for (const SkippedPointLine& skipped : check.skipped)
        lines.push_back(Json{{"line", skipped.line}, {"reason", skipped.reason}});
    json["byteOrderMark"] = check.byteOrderMark;
    json["skippedLines"] = lines;
    json["skippedLineCount"] = check.skippedCount;
    json["repeatedX"] = check.repeatedX;
    return json;
}
