#pragma once

#include "simulator/ParameterMemory.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace sim {

// The four live values. Left alone they follow the configuration: the
// input drifts slowly inside RangeMin..RangeMax, the process value is the
// input through the converter's linearization, the ratio is the process
// value's place between the process values of RangeMin and RangeMax, and
// the value is that ratio laid over ScaleMin..ScaleMax. Each can instead
// be pinned to a number or forced to the fault pattern FF FF FF FF.
class LiveValues {
public:
    enum class Mode : std::uint8_t { Follow, Pinned, Faulty };

    // Seconds of one full drift cycle and the share of the range it spans.
    static constexpr double DriftPeriod = 120.0;
    static constexpr double DriftDepth = 0.8;

    // False for a parameter that is not live.
    bool follow(protocol::Parameter id);
    bool pin(protocol::Parameter id, float value);
    bool fault(protocol::Parameter id);

    Mode mode(protocol::Parameter id) const;

    // The four wire bytes of a live value at `seconds` since start.
    std::array<std::uint8_t, 4> read(protocol::Parameter id, const ParameterMemory& memory,
                                     double seconds) const;
    // The value as a number; nothing while faulty.
    std::optional<float> number(protocol::Parameter id, const ParameterMemory& memory, double seconds) const;

    static constexpr std::uint32_t FaultPattern = 0xFFFFFFFF;

private:
    struct Setting {
        Mode mode = Mode::Follow;
        float pinned = 0.0f;
    };
    static std::optional<std::size_t> slot(protocol::Parameter id);
    float computed(std::size_t slot, const ParameterMemory& memory, double seconds) const;

    std::array<Setting, 4> settings_{};
};

} // namespace sim
