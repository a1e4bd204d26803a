#include "inputs/InputWrites.h"

#include "framework/WaitCursorHook.h"
#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"
#include "linearization/LinearizationTable.h"
#include "tests/device/MemoryConverter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using P = protocol::Parameter;

class InputWritesTest : public ::testing::Test {
protected:
    InputWritesTest()
    {
        auto memory = std::make_unique<MemoryConverter>();
        converter = memory.get();
        link = std::make_unique<ConverterLink>(std::move(memory));
        converter->onRequest = [this](const MemoryConverter::Request& r) {
            events.push_back(std::to_string(r.command));
            return std::optional<MemoryConverter::Bytes>();
        };
    }

    std::vector<P> written() const
    {
        std::vector<P> parameters;
        for (const MemoryConverter::Request& r : converter->writes())
            parameters.push_back(r.parameter());
        return parameters;
    }
    MemoryConverter::Bytes data(std::size_t writeIndex) const
    {
        return converter->writes().at(writeIndex).data;
    }

    MemoryConverter* converter = nullptr;
    std::unique_ptr<ConverterLink> link;
    std::vector<std::string> events;
};

class RecordingCursor : public WaitCursorHook {
public:
    explicit RecordingCursor(std::vector<std::string>& events) : events(events) {}
    void show() override { events.push_back("show"); }
    void restore() override { events.push_back("restore"); }

private:
    std::vector<std::string>& events;
};

TEST_F(InputWritesTest, PlainInputWritesTypeCalibrationLinearizationAndCommit)
{
    PlainInput voltage;
    voltage.inputType = 1;
    voltage.divider = 2.5f;
    LinearizationChoice off;
    off.mode = LinearizationChoice::Mode::Off;
    off.rangeMin = -1;
    off.rangeMax = 4;
    writePlainInput(*link, voltage, off);
    EXPECT_EQ(written(), (std::vector{P::InputType, P::Divider, P::RangeMin, P::RangeMax, P::SegmentCount,
                                      P::CurveDegree, P::Commit}));
    EXPECT_EQ(data(0), MemoryConverter::Bytes{1});
    EXPECT_EQ(RealOf(data(1)), 2.5f);
    EXPECT_EQ(RealOf(data(3)), 4.0f);

    converter->requests.clear();
    PlainInput twentyMilliamps;
    twentyMilliamps.inputType = 4;
    writePlainInput(*link, twentyMilliamps, LinearizationChoice{});
    EXPECT_EQ(written(), (std::vector{P::InputType, P::Commit})) << "kept: nothing but the type";
}

TEST_F(InputWritesTest, OverwriteSendsTheTableWithTheCursorAroundItsSegments)
{
    LinearizationTable table;
    table.min = 0;
    table.max = 10;
    table.segmentCount = 2;
    PlainInput shunt;
    shunt.inputType = 3;
    shunt.shunt = 50;
    LinearizationChoice overwrite;
    overwrite.mode = LinearizationChoice::Mode::Overwrite;
    overwrite.table = &table;
    RecordingCursor cursor(events);
    writePlainInput(*link, shunt, overwrite, &cursor);
    EXPECT_EQ(written(), (std::vector{P::InputType, P::Shunt, P::RangeMin, P::RangeMax, P::Segment,
                                      P::Segment, P::SegmentCount, P::CurveDegree, P::Commit}));
    const std::vector<std::string> expected = {"44", "53", "54", "55",      "show", "66",
                                               "66", "63", "56", "restore", "43"};
    EXPECT_EQ(events, expected);
}

TEST_F(InputWritesTest, ThermometerWritesItsResistanceRangeAndPolynomial)
{
    RtdCatalog rtds;
    const RtdCurve& pt100 = *rtds.At(0);
    const SensorInput input = rtdInput(pt100, 2);
    EXPECT_EQ(input.inputType, 7);
    EXPECT_EQ(input.rangeMin, pt100.ResistanceAt(-200.0f));
    EXPECT_EQ(input.rangeMax, pt100.ResistanceAt(850.0f));
    writeRtdInput(*link, input);
    EXPECT_EQ(written(), (std::vector{P::InputType, P::RangeMin, P::RangeMax, P::CurveCoefficients,
                                      P::CurveDegree, P::SegmentCount, P::Commit}));
    EXPECT_EQ(data(4), MemoryConverter::Bytes{5});
    EXPECT_EQ(RealOf(data(3)), pt100.polynomial()[0]);
}

TEST_F(InputWritesTest, ThermocoupleWritesAllFourPiecesUnderTheWaitCursorEvenWhenRefused)
{
    converter->refuse = true; // no write is checked: the sequence runs to Commit
    ThermocoupleCatalog thermocouples;
    const ThermocoupleCurve& typeK = *thermocouples.At(3);
    RecordingCursor cursor(events);
    writeThermocoupleInput(*link, thermocoupleInput(typeK, 1), thermocouplePieces(typeK), &cursor);
    const std::vector<std::string> expected = {"show", "44", "54", "55", "65", "65",     "65",
                                               "65",   "57", "56", "63", "43", "restore"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(data(0), MemoryConverter::Bytes{14});
    for (std::uint8_t slot = 0; slot < 4; ++slot)
        EXPECT_EQ(data(3 + slot).front(), slot);
    // K has three pieces: the fourth slot clears whatever was there.
    const MemoryConverter::Bytes lastSlot = data(6);
    EXPECT_EQ(MemoryConverter::Bytes(lastSlot.begin() + 1, lastSlot.end()), MemoryConverter::Bytes(57, 0));
}

} // namespace

namespace {

// What read-back expects after each choice; an oversized table holds what
// the converter clips it to.
TEST(StoredLinearization, IsTheRangeWithEitherClippedSegmentsOrTheClippedPolynomial)
{
    LinearizationTable table;
    table.min = -1;
    table.max = 5;
    table.segmentCount = MaxSegments + 5;
    StoredLinearization stored = storedAfterUpload(table);
    EXPECT_EQ(stored.rangeMin, -1.0f);
    EXPECT_EQ(stored.rangeMax, 5.0f);
    EXPECT_EQ(stored.segmentCount, MaxSegments);
    EXPECT_EQ(stored.curveDegree, 0);
    EXPECT_FALSE(stored.coefficients.has_value());

    table.segmentCount = 0;
    table.polynomialDegree = MaxPolynomialDegree + 3;
    table.coefficients[1] = 0.5f;
    stored = storedAfterUpload(table);
    EXPECT_EQ(stored.segmentCount, 0);
    EXPECT_EQ(stored.curveDegree, MaxPolynomialDegree);
    ASSERT_TRUE(stored.coefficients.has_value());
    EXPECT_EQ((*stored.coefficients)[1], 0.5f);

    LinearizationChoice choice;
    EXPECT_FALSE(storedLinearization(choice).has_value()); // Keep writes nothing
    choice.mode = LinearizationChoice::Mode::Overwrite;
    EXPECT_FALSE(storedLinearization(choice).has_value()); // no table, nothing uploaded
    choice.mode = LinearizationChoice::Mode::Off;
    choice.rangeMin = 4;
    choice.rangeMax = 20;
    stored = *storedLinearization(choice);
    EXPECT_EQ(stored.rangeMin, 4.0f);
    EXPECT_EQ(stored.rangeMax, 20.0f);
    EXPECT_EQ(stored.segmentCount, 0);
    EXPECT_EQ(stored.curveDegree, 0);
    EXPECT_FALSE(stored.coefficients.has_value());
}

} // namespace
