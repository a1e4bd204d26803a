#include "config/BackupFile.h"

#include "config/ConfigurationJson.h"
#include "config/Json.h"
#include "framework/NumberText.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <set>
#include <sstream>

namespace {

constexpr std::string_view ConfigurationName = "configuration";
constexpr std::string_view SensorKey = "Sensor";
constexpr std::string_view RelayKeys[] = {"onValue", "offValue", "onDelay", "offDelay", "mode"};
constexpr std::string_view TopKeys[] = {"format",       "version",       "identity", "firmware",
                                        "serialNumber", "output",        "relays",   "partial",
                                        "missing",      "notRestorable", "note",     "configuration"};

// --- writing -----------------------------------------------------------

bool finite(float v)
{
    return std::isfinite(v);
}
bool finite(std::uint8_t)
{
    return true;
}
bool finite(const CurveCoefficients& c)
{
    return std::all_of(c.begin(), c.end(), [](float v) { return std::isfinite(v); });
}
bool finite(const RelaySettings& r)
{
    return std::isfinite(r.onValue) && std::isfinite(r.offValue);
}

std::string bitsText(float v)
{
    return "0x" + number_text::HexDigits(std::bit_cast<std::uint32_t>(v), 8);
}
std::string firstUnwritable(float v)
{
    return bitsText(v);
}
std::string firstUnwritable(std::uint8_t)
{
    return {};
}
std::string firstUnwritable(const CurveCoefficients& c)
{
    for (std::size_t i = 0; i < c.size(); ++i)
        if (!std::isfinite(c[i]))
            return "c" + std::to_string(i) + " " + bitsText(c[i]);
    return {};
}
std::string firstUnwritable(const RelaySettings& r)
{
    return std::isfinite(r.onValue) ? "offValue " + bitsText(r.offValue) : "onValue " + bitsText(r.onValue);
}

// --- reading -----------------------------------------------------------

class Checker {
public:
    explicit Checker(std::vector<std::string>& faults) : faults_(faults), before_(faults.size()) {}

    void fault(const std::string& place, const std::string& what) { faults_.push_back(place + ": " + what); }
    bool ok() const { return faults_.size() == before_; }

    std::optional<std::string> text(const Json& j, const std::string& place)
    {
        if (j.is_string())
            return j.get<std::string>();
        fault(place, "must be a text in quotes, not " + shown(j));
        return std::nullopt;
    }

    std::optional<std::int64_t> integer(const Json& j, const std::string& place, std::int64_t low,
                                        std::int64_t high)
    {
        if (!j.is_number_integer()) {
            fault(place, "must be a whole number, not " + shown(j));
            return std::nullopt;
        }
        // Unsigned values above the signed range are out of range anyway.
        if (j.is_number_unsigned() && j.get<std::uint64_t>() > static_cast<std::uint64_t>(high)) {
            fault(place, shown(j) + " is out of range " + std::to_string(low) + ".." + std::to_string(high));
            return std::nullopt;
        }
        const std::int64_t v = j.get<std::int64_t>();
        if (v < low || v > high) {
            fault(place, shown(j) + " is out of range " + std::to_string(low) + ".." + std::to_string(high));
            return std::nullopt;
        }
        return v;
    }

    std::optional<float> real(const Json& j, const std::string& place)
    {
        if (!j.is_number()) {
            fault(place, "must be a number, not " + shown(j));
            return std::nullopt;
        }
        // A number beyond the float range reads as infinity.
        const float v = j.get<float>();
        if (std::isfinite(v))
            return v;
        fault(place, "beyond the range of the converter's reals (about ±3.4e38)");
        return std::nullopt;
    }

    // Reports every key of `object` that is not in `known`.
    template <typename Keys> void onlyKnown(const Json& object, const Keys& known, const std::string& place)
    {
        for (const auto& item : object.items())
            if (std::find(std::begin(known), std::end(known), item.key()) == std::end(known))
                fault(place.empty() ? item.key() : place + "." + item.key(), "unknown key");
    }

    // A value as the file has it, long ones cut (at a character's boundary).
    static std::string shown(const Json& j)
    {
        const std::string text = j.dump();
        const std::string_view start = number_text::FirstCharacters(text, 37);
        return start.size() < text.size() ? std::string(start) + "..." : text;
    }

private:
    std::vector<std::string>& faults_;
    std::size_t before_;
};

class ReadKey {
public:
    ReadKey(Checker& check, const Json& configuration, bool partial)
        : check_(check), configuration_(configuration), partial_(partial)
    {
    }

    template <typename T> void operator()(ConfigurationKey key, std::optional<T>& out)
    {
        const std::string name(key.name);
        const std::string place = std::string(ConfigurationName) + "." + name;
        const auto found = configuration_.find(name);
        if (found == configuration_.end()) {
            if (!partial_)
                check_.fault(place, "missing (only a file marked \"partial\": true may lack keys)");
            return;
        }
        out = read<T>(*found, place, key);
    }

private:
    template <typename T> std::optional<T> read(const Json& j, const std::string& place, ConfigurationKey key)
    {
        if constexpr (std::is_same_v<T, std::uint8_t>) {
            const auto v = check_.integer(j, place, 0, key.maxCode);
            return v ? std::optional<T>(static_cast<std::uint8_t>(*v)) : std::nullopt;
        } else if constexpr (std::is_same_v<T, float>) {
            return check_.real(j, place);
        } else if constexpr (std::is_same_v<T, CurveCoefficients>) {
            return coefficients(j, place);
        } else {
            return relay(j, place);
        }
    }

    std::optional<CurveCoefficients> coefficients(const Json& j, const std::string& place)
    {
        CurveCoefficients c{};
        if (!j.is_array() || j.size() != c.size()) {
            check_.fault(place,
                         "must be a list of exactly " + std::to_string(c.size()) + " numbers, c0 first");
            return std::nullopt;
        }
        bool good = true;
        for (std::size_t i = 0; i < c.size(); ++i) {
            const auto v = check_.real(j[i], place + "[" + std::to_string(i) + "]");
            good = good && v.has_value();
            c[i] = v.value_or(0.0f);
        }
        return good ? std::optional(c) : std::nullopt;
    }

    std::optional<RelaySettings> relay(const Json& j, const std::string& place)
    {
        if (!j.is_object()) {
            check_.fault(place, "must be an object with onValue, offValue, onDelay, offDelay and mode");
            return std::nullopt;
        }
        check_.onlyKnown(j, RelayKeys, place);
        bool good = true;
        auto member = [&](std::string_view name) -> const Json* {
            const auto found = j.find(std::string(name));
            if (found == j.end()) {
                check_.fault(place + "." + std::string(name), "missing (a relay is written as a whole)");
                good = false;
                return nullptr;
            }
            return &*found;
        };
        RelaySettings r;
        auto realMember = [&](std::string_view name, float& to) {
            if (const Json* m = member(name)) {
                const auto v = check_.real(*m, place + "." + std::string(name));
                good = good && v.has_value();
                to = v.value_or(0.0f);
            }
        };
        auto integerMember = [&](std::string_view name, std::int64_t high, auto& to) {
            if (const Json* m = member(name)) {
                const auto v = check_.integer(*m, place + "." + std::string(name), 0, high);
                good = good && v.has_value();
                to = static_cast<std::remove_reference_t<decltype(to)>>(v.value_or(0));
            }
        };
        realMember("onValue", r.onValue);
        realMember("offValue", r.offValue);
        integerMember("onDelay", 65535, r.onDelay);
        integerMember("offDelay", 65535, r.offDelay);
        integerMember("mode", RelaySettings::Window, r.mode);
        return good ? std::optional(r) : std::nullopt;
    }

    Checker& check_;
    const Json& configuration_;
    bool partial_;
};

// Refuses a key given twice in one object: which of the two would count is
// not something a person editing the file can see.
struct DuplicateKeys {
    struct Open {
        std::string place;
        std::set<std::string> keys;
    };
    std::vector<Open> open;
    std::string lastKey;
    std::vector<std::string> found;

    bool operator()(int, Json::parse_event_t event, Json& parsed)
    {
        switch (event) {
        case Json::parse_event_t::object_start:
            if (open.empty())
                open.push_back({});
            else
                open.push_back({open.back().place.empty() ? lastKey : open.back().place + "." + lastKey, {}});
            break;
        case Json::parse_event_t::object_end:
            if (!open.empty())
                open.pop_back();
            break;
        case Json::parse_event_t::key:
            lastKey = parsed.get<std::string>();
            if (!open.empty() && !open.back().keys.insert(lastKey).second)
                found.push_back(open.back().place.empty() ? lastKey : open.back().place + "." + lastKey);
            break;
        default:
            break;
        }
        return true;
    }
};

// "[json.exception.parse_error.101] parse error at line 3, column 5: ..."
// without the bracket; a number beyond the float range stops the reader.
std::string parseFaultText(const Json::exception& e)
{
    std::string text = e.what();
    const std::size_t prefix = text.find("] ");
    if (prefix != std::string::npos)
        text.erase(0, prefix + 2);
    if (text.rfind("number overflow", 0) == 0)
        text += ": beyond the range of the converter's reals (about ±3.4e38)";
    return text;
}

} // namespace

void settleUnwritableReals(BackupFile& file)
{
    forEachKey(
        [&file](ConfigurationKey key, auto& member) {
            if (!member || finite(*member))
                return;
            file.missing[std::string(key.name)] =
                "not a finite number (" + firstUnwritable(*member) + "), which JSON cannot hold";
            member.reset();
            file.partial = true;
        },
        file.configuration);
}

std::string writeBackupJson(const BackupFile& file)
{
    Json j;
    j["format"] = BackupFile::Format;
    j["version"] = BackupFile::Version;
    if (file.identity)
        j["identity"] = *file.identity;
    if (file.firmware)
        j["firmware"] = *file.firmware;
    if (file.serialNumber)
        j["serialNumber"] = *file.serialNumber;
    if (file.output)
        j["output"] = *file.output;
    if (file.relays)
        j["relays"] = *file.relays;
    if (file.note)
        j["note"] = *file.note;
    if (file.partial)
        j["partial"] = true;
    if (!file.missing.empty())
        j["missing"] = file.missing;
    if (!file.notRestorable.empty())
        j["notRestorable"] = file.notRestorable;

    Json configuration = Json::object();
    forEachKey(
        [&](ConfigurationKey key, const auto& member) {
            if (member && finite(*member))
                configuration[std::string(key.name)] = valueJson(*member);
            // The sensor's name right after the input type it explains.
            if (key.name == "InputType" && !file.sensor.empty())
                configuration[std::string(SensorKey)] = file.sensor;
        },
        file.configuration);
    j["configuration"] = std::move(configuration);
    std::ostringstream text;
    printJson(text, j);
    return text.str();
}

bool readBackupJson(std::string_view text, BackupFile& file, std::vector<std::string>& faults)
{
    file = BackupFile{};
    Checker check(faults);
    Json j;
    DuplicateKeys duplicates;
    try {
        j = Json::parse(text.begin(), text.end(), std::ref(duplicates));
    } catch (const Json::exception& e) {
        check.fault("JSON", parseFaultText(e));
        return false;
    }
    for (const std::string& key : duplicates.found)
        check.fault(key, "given twice");
    if (!j.is_object()) {
        check.fault("file", "must be a JSON object, as dnx8 backup writes it");
        return false;
    }

    const auto format = j.find("format");
    if (format == j.end() || *format != BackupFile::Format) {
        check.fault("format",
                    "must be \"" + std::string(BackupFile::Format) + "\": this is not a dnx8 backup file");
        return false;
    }
    const auto version = j.find("version");
    if (version == j.end() || *version != BackupFile::Version) {
        check.fault("version", (version == j.end() ? std::string("missing") : Checker::shown(*version)) +
                                   ": this dnx8 reads version " + std::to_string(BackupFile::Version));
        return false;
    }
    check.onlyKnown(j, TopKeys, "");

    auto optionalText = [&](const char* key, std::optional<std::string>& to) {
        if (const auto found = j.find(key); found != j.end())
            to = check.text(*found, key);
    };
    optionalText("identity", file.identity);
    optionalText("firmware", file.firmware);
    optionalText("output", file.output);
    optionalText("relays", file.relays);
    optionalText("note", file.note);
    if (const auto found = j.find("serialNumber"); found != j.end())
        file.serialNumber = check.integer(*found, "serialNumber", std::numeric_limits<std::int64_t>::min(),
                                          std::numeric_limits<std::int64_t>::max());
    if (const auto found = j.find("partial"); found != j.end()) {
        if (found->is_boolean())
            file.partial = found->get<bool>();
        else
            check.fault("partial", "must be true or false, not " + Checker::shown(*found));
    }
    if (const auto found = j.find("missing"); found != j.end()) {
        if (!found->is_object())
            check.fault("missing", "must be an object of texts");
        else
            for (const auto& item : found->items())
                if (auto why = check.text(item.value(), "missing." + item.key()))
                    file.missing[item.key()] = *why;
    }
    if (const auto found = j.find("notRestorable"); found != j.end()) {
        if (!found->is_array())
            check.fault("notRestorable", "must be a list of texts");
        else
            for (std::size_t i = 0; i < found->size(); ++i)
                if (auto why = check.text((*found)[i], "notRestorable[" + std::to_string(i) + "]"))
                    file.notRestorable.push_back(*why);
    }

    const auto configuration = j.find(std::string(ConfigurationName));
    if (configuration == j.end() || !configuration->is_object()) {
        check.fault(std::string(ConfigurationName), "missing, or not an object");
        return false;
    }
    std::vector<std::string_view> known{SensorKey};
    forEachKey([&](ConfigurationKey key, const auto&) { known.push_back(key.name); }, file.configuration);
    check.onlyKnown(*configuration, known, std::string(ConfigurationName));
    if (const auto sensor = configuration->find(std::string(SensorKey)); sensor != configuration->end())
        file.sensor = check.text(*sensor, std::string(ConfigurationName) + "." + std::string(SensorKey))
                          .value_or(std::string());
    forEachKey(ReadKey(check, *configuration, file.partial), file.configuration);
    return check.ok();
}
