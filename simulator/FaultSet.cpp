#include "simulator/FaultSet.h"

#include "device/FrameCodec.h"
#include "device/ParameterTable.h"
#include "device/Protocol.h"

namespace sim {
namespace {

constexpr std::array<std::string_view, FaultCount> Names = {"silence",  "nak",   "length",  "overlong",
                                                            "checksum", "short", "garbage", "delay"};
// One past the largest reply data a frame buffer of 64 bytes can hold.
constexpr std::size_t OverlongData = protocol::MaxReplyData + 1;

} // namespace

std::string_view FaultName(Fault fault)
{
    return Names[static_cast<std::size_t>(fault)];
}

std::optional<Fault> FaultByName(std::string_view name)
{
    for (std::size_t i = 0; i < Names.size(); ++i)
        if (Names[i] == name)
            return static_cast<Fault>(i);
    return std::nullopt;
}

void FaultSet::enable(Fault fault, unsigned times, std::optional<std::uint8_t> command)
{
    switches_[index(fault)] = {true, times, command};
}

void FaultSet::disable(Fault fault)
{
    switches_[index(fault)] = {};
}

void FaultSet::clear()
{
    switches_ = {};
}

bool FaultSet::take(Fault fault, std::uint8_t command)
{
    Switch& s = switches_[index(fault)];
    if (!s.on || (s.command && *s.command != command))
        return false;
    if (s.remaining != 0 && --s.remaining == 0)
        s = {};
    return true;
}

ShapedReply FaultSet::shape(std::uint8_t command, std::vector<std::uint8_t> reply)
{
    ShapedReply out;
    if (take(Fault::Silence, command))
        return out;
    if (take(Fault::Nak, command))
        reply = protocol::negativeReply();
    if (take(Fault::Length, command) && reply.size() > protocol::ReplyHeader) {
        std::vector<std::uint8_t> data(reply.begin() + protocol::ReplyHeader, reply.end() - 1);
        data.push_back(0);
        reply = protocol::positiveReply(data);
    }
    if (take(Fault::Overlong, command))
        reply = protocol::positiveReply(std::vector<std::uint8_t>(OverlongData, 0));
    if (take(Fault::Checksum, command))
        reply.back() = static_cast<std::uint8_t>(reply.back() + 1);
    if (take(Fault::Short, command))
        reply.pop_back();
    if (take(Fault::Garbage, command))
        reply.insert(reply.begin(), GarbageBytes.begin(), GarbageBytes.end());
    if (take(Fault::Delay, command))
        out.delay = delay_;
    out.bytes = std::move(reply);
    return out;
}

std::vector<std::string> FaultSet::describe() const
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < FaultCount; ++i) {
        const Switch& s = switches_[i];
        if (!s.on)
            continue;
        std::string line = "fault ";
        line.append(Names[i]);
        line.append(" ");
        line.append(s.remaining == 0 ? std::string("on") : std::to_string(s.remaining));
        if (static_cast<Fault>(i) == Fault::Delay) {
            line.append(" ");
            line.append(std::to_string(delay_.count()));
        }
        if (s.command) {
            const protocol::ParameterInfo* info = protocol::findParameter(*s.command);
            line.append(" ");
            line.append(info ? std::string(info->name) : std::to_string(*s.command));
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace sim
