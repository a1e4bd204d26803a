#include "simulator/ControlInterpreter.h"

#include "simulator/ParameterText.h"
#include "simulator/Presets.h"
#include "simulator/ValueText.h"

#include <fstream>

namespace sim {
namespace {

ControlReply Fail(std::string error)
{
    return {false, {}, std::move(error), false};
}

ControlReply Done(std::vector<std::string> lines = {})
{
    return {true, std::move(lines), {}, false};
}

// Resolves "NAME [INDEX]" at the start of `words`; consumes what it used.
const protocol::ParameterInfo* Target(std::span<const std::string_view>& words, std::size_t& index,
                                      std::string& error)
{
    const protocol::ParameterInfo* info = words.empty() ? nullptr : protocol::findParameter(words[0]);
    if (!info) {
        error =
            words.empty() ? "parameter name missing" : "unknown parameter '" + std::string(words[0]) + "'";
        return nullptr;
    }
    words = words.subspan(1);
    index = 0;
    if (info->access == protocol::Access::Indexed) {
        auto i = words.empty() ? std::nullopt : ParseInteger(words[0]);
        if (!i || *i < 0 || static_cast<std::size_t>(*i) >= info->slots) {
            error = std::string(info->name) + " needs an index 0.." + std::to_string(info->slots - 1);
            return nullptr;
        }
        index = static_cast<std::size_t>(*i);
        words = words.subspan(1);
    }
    return info;
}

} // namespace

ControlReply ControlInterpreter::execute(std::string_view line, double seconds)
{
    const std::vector<std::string_view> all = SplitWords(line);
    if (all.empty() || all[0].starts_with('#'))
        return Done();
    const std::string_view command = all[0];
    const Words words = std::span(all).subspan(1);
    if (command == "set")
        return set(words);
    if (command == "get")
        return get(words, seconds);
    if (command == "live")
        return live(words);
    if (command == "fault")
        return fault(words);
    if (command == "dump")
        return dumpTo(words, seconds);
    if (command == "identity") {
        if (words.size() != 1 || words[0].size() > protocol::IdentitySize)
            return Fail("identity takes one text of up to 8 characters");
        converter_.model.memory.setText(protocol::Parameter::Identity, words[0]);
        return Done();
    }
    if (command == "preset") {
        if (words.size() != 1 || !ApplyPreset(words[0], converter_.model.memory))
            return Fail("unknown preset");
        return Done();
    }
    if (command == "line") {
        if (words.size() != 1 || (words[0] != "close" && words[0] != "open"))
            return Fail("line takes close or open");
        ControlReply reply = Done();
        reply.line = words[0] == "close" ? LineChange::Close : LineChange::Open;
        return reply;
    }
    if (command == "ping" && words.empty())
        return Done();
    if (command == "quit" && words.empty()) {
        ControlReply reply = Done();
        reply.quit = true;
        return reply;
    }
    return Fail("unknown command '" + std::string(command) + "'");
}

ControlReply ControlInterpreter::set(Words words)
{
    std::string error;
    std::size_t index = 0;
    const protocol::ParameterInfo* info = Target(words, index, error);
    if (!info)
        return Fail(error);
    if (info->access == protocol::Access::Live || info->access == protocol::Access::Command)
        return Fail(std::string(info->name) + " is not stored (use live)");
    std::vector<std::uint8_t> bytes(info->size);
    error = ParseValue(*info, words, bytes);
    if (!error.empty())
        return Fail(error);
    auto stored = converter_.model.memory.value(info->id, index);
    std::copy(bytes.begin(), bytes.end(), stored.begin());
    return Done();
}

ControlReply ControlInterpreter::get(Words words, double seconds) const
{
    std::string error;
    std::size_t index = 0;
    const protocol::ParameterInfo* info = Target(words, index, error);
    if (!info)
        return Fail(error);
    if (!words.empty())
        return Fail("get takes a name (and an index)");
    std::string line(info->name);
    if (info->access == protocol::Access::Indexed)
        line += ' ' + std::to_string(index);
    if (info->access == protocol::Access::Live) {
        auto v = converter_.model.live.number(info->id, converter_.model.memory, seconds);
        line += v ? ' ' + FormatReal(*v) : std::string(" fault");
    } else if (info->access == protocol::Access::Command) {
        line += ' ' + std::to_string(converter_.model.memory.commits);
    } else {
        line += ' ' + FormatValue(*info, converter_.model.memory.value(info->id, index));
    }
    return Done({line});
}

ControlReply ControlInterpreter::live(Words words)
{
    const protocol::ParameterInfo* info = words.size() == 2 ? protocol::findParameter(words[0]) : nullptr;
    if (!info || info->access != protocol::Access::Live)
        return Fail(
            "live takes LiveInput, LiveProcess, LiveValue or LiveRatio and follow, fault or a number");
    LiveValues& live = converter_.model.live;
    if (words[1] == "follow" || words[1] == "auto")
        live.follow(info->id);
    else if (words[1] == "fault")
        live.fault(info->id);
    else if (auto v = ParseReal(words[1]))
        live.pin(info->id, *v);
    else
        return Fail("bad live setting '" + std::string(words[1]) + "'");
    return Done();
}

ControlReply ControlInterpreter::fault(Words words)
{
    FaultSet& faults = converter_.faults;
    if (words.size() == 1 && (words[0] == "clear" || words[0] == "off")) {
        faults.clear();
        return Done();
    }
    auto which = words.size() >= 2 ? FaultByName(words[0]) : std::nullopt;
    if (!which)
        return Fail("fault takes a fault name and on, off, once or a count");
    const std::string_view mode = words[1];
    if (mode == "off") {
        if (words.size() != 2)
            return Fail("fault NAME off takes nothing more");
        faults.disable(*which);
        return Done();
    }
    unsigned times = 0;
    if (mode == "once") {
        times = 1;
    } else if (mode != "on") {
        auto n = ParseInteger(mode);
        if (!n || *n < 1 || *n > 1000000)
            return Fail("bad fault mode '" + std::string(mode) + "'");
        times = static_cast<unsigned>(*n);
    }
    std::optional<std::uint8_t> only;
    for (std::string_view word : words.subspan(2)) {
        if (auto ms = ParseInteger(word); ms && *which == Fault::Delay && *ms >= 0 && *ms <= 600000) {
            faults.setDelay(std::chrono::milliseconds(*ms));
        } else if (const protocol::ParameterInfo* info = protocol::findParameter(word)) {
            only = info->code();
        } else {
            return Fail("bad fault argument '" + std::string(word) + "'");
        }
    }
    faults.enable(*which, times, only);
    return Done();
}

ControlReply ControlInterpreter::dumpTo(Words words, double seconds) const
{
    if (words.empty())
        return Done(dump(seconds));
    if (words.size() != 1)
        return Fail("dump takes at most one file name");
    std::ofstream file{std::string(words[0]), std::ios::trunc};
    for (const std::string& line : dump(seconds))
        file << line << '\n';
    file.flush();
    if (!file)
        return Fail("cannot write '" + std::string(words[0]) + "'");
    return Done();
}

std::vector<std::string> ControlInterpreter::dump(double seconds) const
{
    const ParameterMemory& memory = converter_.model.memory;
    std::vector<std::string> lines;
    for (const protocol::ParameterInfo& info : protocol::parameters()) {
        const std::string name(info.name);
        switch (info.access) {
        case protocol::Access::ReadOnly:
        case protocol::Access::ReadWrite:
            lines.push_back("set " + name + ' ' + FormatValue(info, memory.value(info.id)));
            break;
        case protocol::Access::Indexed:
            for (std::size_t i = 0; i < info.slots; ++i)
                lines.push_back("set " + name + ' ' + std::to_string(i) + ' ' +
                                FormatValue(info, memory.value(info.id, i)));
            break;
        case protocol::Access::Live: {
            auto v = converter_.model.live.number(info.id, memory, seconds);
            const bool follows = converter_.model.live.mode(info.id) == LiveValues::Mode::Follow;
            // A following value is shown as a comment: replaying it must not pin it.
            lines.push_back((follows ? "# live " : "live ") + name + ' ' + (v ? FormatReal(*v) : "fault"));
            break;
        }
        case protocol::Access::Command:
            lines.push_back("# commits " + std::to_string(memory.commits));
            break;
        }
    }
    for (const std::string& f : converter_.faults.describe())
        lines.push_back(f);
    return lines;
}

} // namespace sim
