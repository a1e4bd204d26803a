#include "server/InputBody.h"

#include "config/PointImport.h"
#include "config/TemporaryPointFile.h"
#include "linearization/FitOffer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace {

using Words = std::vector<std::string>;
using input_words::indexOf;
using input_words::listed;

// What each kind takes besides "kind", and which of them are required.
struct KindKeys {
    std::vector<std::string> required;
    std::vector<std::string> optional;
};

const std::map<InputKind, KindKeys>& kindKeys()
{
    static const std::map<InputKind, KindKeys> keys = {
        {InputKind::Voltage, {{"variant", "linearization"}, {"divider"}}},
        {InputKind::Current, {{"variant", "linearization"}, {"shunt"}}},
        {InputKind::Resistance, {{"wiring", "linearization"}, {}}},
        {InputKind::Potentiometer, {{"mode", "wiring", "linearization"}, {}}},
        {InputKind::Rtd, {{"sensor", "wiring"}, {}}},
        {InputKind::Thermocouple, {{"type", "compensation"}, {}}},
    };
    return keys;
}

bool contains(const Words& words, const std::string& word)
{
    return std::find(words.begin(), words.end(), word) != words.end();
}

bool wordOf(const nlohmann::json& body, const std::string& key, const Words& words, int& index,
            std::string& problem)
{
    const nlohmann::json& value = body[key];
    index = value.is_string() ? indexOf(words, value.get<std::string>()) : -1;
    if (index < 0) {
        problem = key + " is one of the texts " + listed(words) + ", not " + value.dump();
        return false;
    }
    return true;
}

// A finite real within float's range; a JSON number, never a text.
bool realOf(const nlohmann::json& value, const std::string& what, float& real, std::string& problem)
{
    if (!value.is_number()) {
        problem = what + " must be a JSON number such as 12.5 (a decimal point, no quotes), not " + value.dump();
        return false;
    }
    const double number = value.get<double>();
    if (!std::isfinite(number) || std::abs(number) > std::numeric_limits<float>::max()) {
        problem = what + " is too large for the converter's 32-bit real";
        return false;
    }
    real = static_cast<float>(number);
    return true;
}

bool positiveOf(const nlohmann::json& body, const std::string& key, std::optional<float>& target,
                std::string& problem)
{
    float real = 0;
    if (!realOf(body[key], key, real, problem))
        return false;
    if (!(real > 0)) {
        problem = key + " must be above zero (the converter divides by it), not " + body[key].dump();
        return false;
    }
    target = real;
    return true;
}

bool linearizationOf(const nlohmann::json& value, InputBody& out, std::string& problem)
{
    const std::string forms =
        "linearization is \"keep\", {\"off\": [MIN, MAX]}, {\"points\": TEXT, \"order\": N} or "
        "{\"points\": TEXT, \"spline\": true}";
    InputRequest& request = out.request;
    if (value == "keep") {
        request.linearization = LinearizationChoice::Mode::Keep;
        return true;
    }
    if (!value.is_object() || value.empty()) {
        problem = forms + ", not " + value.dump();
        return false;
    }
    for (const auto& [key, field] : value.items())
        if (key != "off" && key != "points" && key != "order" && key != "spline") {
            problem = "linearization: unknown key \"" + key + "\"; " + forms;
            return false;
        }
    if (value.contains("off")) {
        const nlohmann::json& range = value["off"];
        if (value.size() != 1 || !range.is_array() || range.size() != 2) {
            problem = forms + "; \"off\" takes the range [MIN, MAX] alone";
            return false;
        }
        if (!realOf(range[0], "linearization.off MIN", request.rangeMin, problem) ||
            !realOf(range[1], "linearization.off MAX", request.rangeMax, problem))
            return false;
        request.linearization = LinearizationChoice::Mode::Off;
        return true;
    }
    if (!value.contains("points") || !value["points"].is_string()) {
        problem = forms + "; \"points\" is the point file's text";
        return false;
    }
    FitChoice choice;
    if (value.contains("spline")) {
        if (value["spline"] != true || value.contains("order")) {
            problem = "linearization: \"spline\": true stands alone, without \"order\"";
            return false;
        }
        choice.spline = true;
    }
    if (value.contains("order")) {
        const nlohmann::json& order = value["order"];
        if (!order.is_number_integer() || order.get<std::int64_t>() < fit_offer::LowestOrder ||
            order.get<std::int64_t>() > MaxPolynomialDegree) {
            problem = "linearization.order is a whole number 2..9, not " + order.dump();
            return false;
        }
        choice.order = static_cast<int>(order.get<std::int64_t>());
    }
    request.table = std::make_unique<LinearizationTable>();
    PointFileCheck check;
    if (!importPointText(value["points"].get<std::string>(), choice, *request.table, check, problem))
        return false;
    out.pointCheck = check;
    request.linearization = LinearizationChoice::Mode::Overwrite;
    return true;
}

} // namespace

bool importPointText(const std::string& text, const FitChoice& choice, LinearizationTable& table,
                     PointFileCheck& check, std::string& problem)
{
    if (text.size() > MaxPointText) {
        problem = "the point file is too large: " + std::to_string(text.size()) + " bytes, at most " +
                  std::to_string(MaxPointText);
        return false;
    }
    TemporaryPointFile file;
    if (!file.write(text)) {
        problem = "the server cannot keep the point file for reading (its temporary folder)";
        return false;
    }
    PointSet pointSet;
    return importPoints(file.path(), "the point file", choice, FitChoiceWords{"order", "strict"}, table, pointSet,
                        check, problem);
}

std::optional<InputBody> parseInputBody(std::string_view text, std::string& problem)
{
    const std::string nothing = ". Nothing was sent to the converter.";
    const nlohmann::json body = nlohmann::json::parse(text, nullptr, false);
    if (body.is_discarded() || !body.is_object()) {
        problem = "send the options of dnx8 input as a JSON object, e.g. {\"kind\": \"rtd\", \"sensor\": "
                  "\"pt100\", \"wiring\": \"3\"}" + nothing;
        return std::nullopt;
    }
    int kind = -1;
    if (!body.contains("kind") || !wordOf(body, "kind", input_words::Kinds, kind, problem)) {
        problem = "kind is one of " + listed(input_words::Kinds) + nothing;
        return std::nullopt;
    }
    InputBody out;
    InputRequest& r = out.request;
    r.kind = static_cast<InputKind>(kind);
    const KindKeys& keys = kindKeys().at(r.kind);
    const std::string kindName = input_words::Kinds[static_cast<std::size_t>(kind)];
    for (const auto& [key, value] : body.items())
        if (key != "kind" && !contains(keys.required, key) && !contains(keys.optional, key)) {
            Words all = keys.required;
            all.insert(all.end(), keys.optional.begin(), keys.optional.end());
            problem = "unknown key \"" + key + "\" for " + kindName + "; it takes " + listed(all) + nothing;
            return std::nullopt;
        }
    for (const std::string& key : keys.required)
        if (!body.contains(key)) {
            problem = kindName + " needs " + key + nothing;
            return std::nullopt;
        }
    bool ok = true;
    if (r.kind == InputKind::Voltage)
        ok = wordOf(body, "variant", input_words::VoltageVariants, r.variant, problem);
    if (r.kind == InputKind::Current)
        ok = wordOf(body, "variant", input_words::CurrentVariants, r.variant, problem);
    if (ok && body.contains("divider"))
        ok = positiveOf(body, "divider", r.divider, problem);
    if (ok && body.contains("shunt"))
        ok = positiveOf(body, "shunt", r.shunt, problem);
    if (ok && body.contains("mode"))
        ok = wordOf(body, "mode", input_words::PotentiometerModes, r.mode, problem);
    if (ok && body.contains("wiring"))
        ok = wordOf(body, "wiring",
                    r.kind == InputKind::Potentiometer ? input_words::PotentiometerWirings : input_words::Wirings,
                    r.wiring, problem);
    if (ok && body.contains("sensor"))
        ok = wordOf(body, "sensor", input_words::RtdSensors, r.sensor, problem);
    if (ok && body.contains("type"))
        ok = wordOf(body, "type", input_words::ThermocoupleTypes, r.type, problem);
    if (ok && body.contains("compensation"))
        ok = wordOf(body, "compensation", input_words::Compensations, r.compensation, problem);
    if (ok && body.contains("linearization"))
        ok = linearizationOf(body["linearization"], out, problem);
    if (!ok) {
        problem += nothing;
        return std::nullopt;
    }
    return out;
}
