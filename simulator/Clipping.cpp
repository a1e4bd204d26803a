#include "simulator/Clipping.h"

#include "simulator/ParameterMemory.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

using P = protocol::Parameter;

constexpr std::uint8_t MaxRelayMode = 1;
constexpr std::uint8_t MaxEmfDegree = 12;
constexpr std::size_t EmfDegreeOffset = 56;
constexpr std::size_t RelayModeOffset = 12;

struct RealLimits {
    float low;
    float high;
};

// The divider only divides and the shunt is a real resistor; the scale is
// shown on a five-digit display.
RealLimits LimitsOf(P id)
{
    switch (id) {
    case P::Divider:
        return {1.0f, 10000.0f};
    case P::Shunt:
        return {0.001f, 10000.0f};
    case P::ScaleMin:
    case P::ScaleMax:
        return {-99999.0f, 99999.0f};
    default:
        return {-INFINITY, INFINITY};
    }
}

// A real at `offset`: not-a-number or infinity keeps the stored real.
void KeepFinite(std::span<std::uint8_t> incoming, std::span<const std::uint8_t> stored, std::size_t offset,
                RealLimits limits = {-INFINITY, INFINITY})
{
    const float v = GetReal(incoming.data() + offset);
    if (!std::isfinite(v))
        std::copy_n(stored.begin() + offset, 4, incoming.begin() + offset);
    else if (v < limits.low || v > limits.high)
        PutReal(incoming.data() + offset, std::clamp(v, limits.low, limits.high));
}

} // namespace

std::uint8_t ByteLimit(P id)
{
    switch (id) {
    case P::InputType:
        return 15;
    case P::CurveDegree:
        return 9;
    case P::Filter:
        return 30;
    case P::SegmentCount:
        return 20;
    case P::ErrorSignalling:
        return 3;
    default:
        return 255;
    }
}

void ClipWrite(const protocol::ParameterInfo& info, std::span<std::uint8_t> incoming,
               std::span<const std::uint8_t> stored)
{
    if (incoming.size() != info.size || stored.size() != info.size)
        return;
    switch (info.id) {
    case P::Divider:
    case P::Shunt:
    case P::RangeMin:
    case P::RangeMax:
    case P::ScaleMin:
    case P::ScaleMax:
        KeepFinite(incoming, stored, 0, LimitsOf(info.id));
        break;
    case P::Relay1:
    case P::Relay2:
        KeepFinite(incoming, stored, 0);
        KeepFinite(incoming, stored, 4);
        incoming[RelayModeOffset] = std::min(incoming[RelayModeOffset], MaxRelayMode);
        break;
    case P::EmfRange:
        incoming[EmfDegreeOffset] = std::min(incoming[EmfDegreeOffset], MaxEmfDegree);
        break;
    default:
        if (info.size == 1)
            incoming[0] = std::min(incoming[0], ByteLimit(info.id));
        break;
    }
}

} // namespace sim
