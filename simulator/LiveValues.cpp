#include "simulator/LiveValues.h"

#include "simulator/ProcessCurve.h"

#include <cmath>
#include <numbers>

namespace sim {
namespace {

using P = protocol::Parameter;

constexpr std::size_t InputSlot = 0;
constexpr std::size_t ProcessSlot = 1;
constexpr std::size_t ValueSlot = 2;
constexpr std::size_t RatioSlot = 3;

} // namespace

std::optional<std::size_t> LiveValues::slot(P id)
{
    switch (id) {
    case P::LiveInput:
        return InputSlot;
    case P::LiveProcess:
        return ProcessSlot;
    case P::LiveValue:
        return ValueSlot;
    case P::LiveRatio:
        return RatioSlot;
    default:
        return std::nullopt;
    }
}

bool LiveValues::follow(P id)
{
    auto s = slot(id);
    if (s)
        settings_[*s] = {};
    return s.has_value();
}

bool LiveValues::pin(P id, float value)
{
    auto s = slot(id);
    if (s)
        settings_[*s] = {Mode::Pinned, value};
    return s.has_value();
}

bool LiveValues::fault(P id)
{
    auto s = slot(id);
    if (s)
        settings_[*s] = {Mode::Faulty, 0.0f};
    return s.has_value();
}

LiveValues::Mode LiveValues::mode(P id) const
{
    auto s = slot(id);
    return s ? settings_[*s].mode : Mode::Follow;
}

float LiveValues::computed(std::size_t which, const ParameterMemory& memory, double seconds) const
{
    // Pinned values feed the later stages, so a pinned input moves them too.
    auto stage = [&](std::size_t s, auto&& compute) -> double {
        return settings_[s].mode == Mode::Pinned ? settings_[s].pinned : compute();
    };
    const double low = memory.real(P::RangeMin);
    const double high = memory.real(P::RangeMax);
    const double input = stage(InputSlot, [&] {
        const double phase = std::sin(2.0 * std::numbers::pi * seconds / DriftPeriod);
        return low + (high - low) * (0.5 + 0.5 * DriftDepth * phase);
    });
    if (which == InputSlot)
        return static_cast<float>(input);
    const double process = stage(ProcessSlot, [&] { return ProcessOf(memory, input); });
    if (which == ProcessSlot)
        return static_cast<float>(process);
    const double ratio = stage(RatioSlot, [&] {
        const double processLow = ProcessOf(memory, low);
        const double processHigh = ProcessOf(memory, high);
        return processHigh == processLow ? 0.0 : (process - processLow) / (processHigh - processLow);
    });
    if (which == RatioSlot)
        return static_cast<float>(ratio);
    const double scaleLow = memory.real(P::ScaleMin);
    const double scaleHigh = memory.real(P::ScaleMax);
    return static_cast<float>(stage(ValueSlot, [&] { return scaleLow + ratio * (scaleHigh - scaleLow); }));
}

std::optional<float> LiveValues::number(P id, const ParameterMemory& memory, double seconds) const
{
    auto s = slot(id);
    if (!s || settings_[*s].mode == Mode::Faulty)
        return std::nullopt;
    return computed(*s, memory, seconds);
}

std::array<std::uint8_t, 4> LiveValues::read(P id, const ParameterMemory& memory, double seconds) const
{
    std::array<std::uint8_t, 4> bytes{};
    auto v = number(id, memory, seconds);
    if (v)
        PutReal(bytes.data(), *v);
    else
        PutU32(bytes.data(), FaultPattern);
    return bytes;
}

} // namespace sim
