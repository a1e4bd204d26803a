#include "SimTestSupport.h"

#include "simulator/Presets.h"

#include <gtest/gtest.h>

namespace {

using P = protocol::Parameter;

sim::ConverterModel Preset(const char* name)
{
    sim::ConverterModel m;
    EXPECT_TRUE(sim::ApplyPreset(name, m.memory));
    return m;
}

float Live(const sim::ConverterModel& m, P id, double seconds = 0.0)
{
    return m.live.number(id, m.memory, seconds).value_or(-12345.0f);
}

TEST(LiveValues, InputDriftsInsideTheRangeAndTheRestFollowIt)
{
    const sim::ConverterModel m = Preset("current"); // 4..20 mA scaled 0..100
    float lowest = 1e9f, highest = -1e9f;
    for (double t = 0.0; t < 240.0; t += 1.7) {
        const float input = Live(m, P::LiveInput, t);
        lowest = std::min(lowest, input);
        highest = std::max(highest, input);
        EXPECT_FLOAT_EQ(Live(m, P::LiveProcess, t), input); // no linearization
        EXPECT_NEAR(Live(m, P::LiveRatio, t), (input - 4.0f) / 16.0f, 1e-6);
        EXPECT_NEAR(Live(m, P::LiveValue, t), (input - 4.0f) / 16.0f * 100.0f, 1e-4);
    }
    EXPECT_GT(lowest, 4.0f);
    EXPECT_LT(highest, 20.0f);
    EXPECT_GT(highest - lowest, 10.0f); // it really moves
}

TEST(LiveValues, ProcessFollowsPolynomialOrSegments)
{
    sim::ConverterModel m = Preset("voltage");
    m.live.pin(P::LiveInput, 3.0f);
    m.memory.setByte(P::CurveDegree, 2);
    m.memory.setReal(P::CurveCoefficients, 1.0f, 0);
    m.memory.setReal(P::CurveCoefficients, 0.0f, 4);
    m.memory.setReal(P::CurveCoefficients, 2.0f, 8);
    EXPECT_FLOAT_EQ(Live(m, P::LiveProcess), 19.0f); // 1 + 2 * 3^2

    // Segments win over the polynomial: y = a0 + a1 (x - x0) from the last x0 <= x.
    m.memory.setByte(P::SegmentCount, 2);
    for (std::size_t i = 0; i < 2; ++i) {
        m.memory.setReal(P::Segment, 10.0f * static_cast<float>(i), 0, i); // a0
        m.memory.setReal(P::Segment, 1.0f + static_cast<float>(i), 4, i);  // a1
        m.memory.setReal(P::Segment, 2.0f * static_cast<float>(i), 16, i); // x0
    }
    EXPECT_FLOAT_EQ(Live(m, P::LiveProcess), 12.0f); // segment 1: 10 + 2 * (3 - 2)
    m.live.pin(P::LiveInput, 1.0f);
    EXPECT_FLOAT_EQ(Live(m, P::LiveProcess), 1.0f); // segment 0
}

TEST(LiveValues, SensorPresetsGivePlausibleTemperatures)
{
    sim::ConverterModel pt100 = Preset("pt100");
    pt100.live.pin(P::LiveInput, 100.0f);
    EXPECT_NEAR(Live(pt100, P::LiveProcess), 0.0, 0.2);
    pt100.live.pin(P::LiveInput, 138.5055f);
    EXPECT_NEAR(Live(pt100, P::LiveProcess), 100.0, 0.2);

    // The cold junction sits at 25 C: no EMF at the terminals reads 25 C.
    sim::ConverterModel k = Preset("thermocouple-k");
    k.live.pin(P::LiveInput, 0.0f);
    EXPECT_NEAR(Live(k, P::LiveProcess), 25.0, 0.5);
    k.live.pin(P::LiveInput, 41.276f - 1.0f); // 1000 C less the cold junction
    EXPECT_NEAR(Live(k, P::LiveProcess), 1000.0, 1.0);
}

TEST(LiveValues, PinnedAndFaultyValues)
{
    sim::ConverterModel m = Preset("voltage"); // 0..10 V scaled 0..100
    m.live.pin(P::LiveInput, 5.0f);
    EXPECT_FLOAT_EQ(Live(m, P::LiveRatio), 0.5f);
    EXPECT_FLOAT_EQ(Live(m, P::LiveValue), 50.0f);

    m.live.fault(P::LiveInput);
    EXPECT_EQ(m.live.read(P::LiveInput, m.memory, 0.0),
              (std::array<std::uint8_t, 4>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(m.live.number(P::LiveInput, m.memory, 0.0));
    EXPECT_TRUE(m.live.number(P::LiveProcess, m.memory, 0.0)); // each value faults on its own

    m.live.follow(P::LiveInput);
    EXPECT_EQ(m.live.mode(P::LiveInput), sim::LiveValues::Mode::Follow);
    EXPECT_FALSE(m.live.fault(P::Filter));
}

TEST(LiveValues, EmptyRangeGivesNoDivisionByZero)
{
    const sim::ConverterModel m = Preset("fresh");
    EXPECT_EQ(Live(m, P::LiveInput), 0.0f);
    EXPECT_EQ(Live(m, P::LiveRatio), 0.0f);
    EXPECT_EQ(Live(m, P::LiveValue), 0.0f);
}

} // namespace
