#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class Fault : std::uint8_t {
    Silence,  // no reply at all
    Nak,      // 15 EB instead of the reply
    Length,   // one data byte too many, well formed otherwise
    Overlong, // length byte 62 with 62 data bytes: more than a reply may hold
    Checksum, // last byte wrong
    Short,    // last byte missing
    Garbage,  // stray bytes before the reply
    Delay,    // reply held back
};

inline constexpr std::size_t FaultCount = 8;

std::string_view FaultName(Fault fault);
std::optional<Fault> FaultByName(std::string_view name);

// What goes on the line in answer to one request.
struct ShapedReply {
    std::vector<std::uint8_t> bytes; // empty: silence
    std::chrono::milliseconds delay{0};
};

// Faults switched on at run time. Each fault applies to every reply, to a
// number of replies, or only to replies to one command code.
class FaultSet {
public:
    static constexpr std::chrono::milliseconds DefaultDelay{300};
    static constexpr std::array<std::uint8_t, 3> GarbageBytes = {0x00, 0xFF, 0x00};

    // `times` 0 = until switched off.
    void enable(Fault fault, unsigned times = 0, std::optional<std::uint8_t> command = std::nullopt);
    void disable(Fault fault);
    void clear();
    void setDelay(std::chrono::milliseconds delay) { delay_ = delay; }
    std::chrono::milliseconds delay() const { return delay_; }

    bool isOn(Fault fault) const { return switches_[index(fault)].on; }

    // Applies the faults due for a reply to `command` and counts them down.
    ShapedReply shape(std::uint8_t command, std::vector<std::uint8_t> reply);

    // One line per active fault, e.g. "fault silence on" or
    // "fault nak 2 Filter".
    std::vector<std::string> describe() const;

private:
    struct Switch {
        bool on = false;
        unsigned remaining = 0; // 0 = unlimited
        std::optional<std::uint8_t> command;
    };
    static std::size_t index(Fault f) { return static_cast<std::size_t>(f); }
    bool take(Fault fault, std::uint8_t command);

    std::array<Switch, FaultCount> switches_{};
    std::chrono::milliseconds delay_ = DefaultDelay;
};

} // namespace sim
