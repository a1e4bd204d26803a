#include "SimTestSupport.h"

#include "device/ParameterTable.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using P = protocol::Parameter;
using protocol::Access;

// A value of `size` bytes that no clipping rule touches.
Bytes Harmless(const protocol::ParameterInfo& info)
{
    Bytes v(info.size, 0);
    if (info.size == 1)
        v[0] = 1;
    else if (info.size == 13) // relay: 1.5, 0.5, 10, 20, mode 1
        v = {0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0x3F, 0x0A, 0x00, 0x14, 0x00, 0x01};
    else
        for (std::size_t i = 0; i + 4 <= info.size; i += 4)
            sim::PutReal(v.data() + i, 2.5f + static_cast<float>(i));
    return v;
}

TEST(ConverterModel, AnswersTheProtocolExamples)
{
    sim::SimulatedConverter c;
    EXPECT_EQ(Ask(c, {0x01, 0x3E, 0x01, 0x07, 0xB9}), (Bytes{0x06, 0x01, 0x07, 0xF2}));
    EXPECT_EQ(Ask(c, {0x01, 0x2B, 0x01, 0x00, 0xD3}), (Bytes{0x06, 0x00, 0xFA}));
    c.model.memory.setByte(P::InputType, 7);
    EXPECT_EQ(Ask(c, {0x01, 0x2C, 0x00, 0xD3}), Ack({7}));
    c.model.memory.setText(P::Identity, "DNX8");
    EXPECT_EQ(Ask(c, RequestFrame(P::Identity)), Ack({'D', 'N', 'X', '8', 0, 0, 0, 0}));
}

TEST(ConverterModel, EveryWritableParameterEchoesAndKeepsWhatWasWritten)
{
    for (const protocol::ParameterInfo& info : protocol::parameters()) {
        if (info.access != Access::ReadWrite)
            continue;
        SCOPED_TRACE(std::string(info.name));
        sim::SimulatedConverter c;
        const Bytes value = Harmless(info);
        EXPECT_EQ(Ask(c, RequestFrame(info.id, value)), Ack(value));
        EXPECT_EQ(Ask(c, RequestFrame(info.id)), Ack(value));
        const auto stored = c.model.memory.value(info.id);
        EXPECT_EQ(Bytes(stored.begin(), stored.end()), value);
    }
}

TEST(ConverterModel, ReadOnlyAndLiveParametersReadButRefuseWrites)
{
    for (const protocol::ParameterInfo& info : protocol::parameters()) {
        if (info.access != Access::ReadOnly && info.access != Access::Live)
            continue;
        SCOPED_TRACE(std::string(info.name));
        sim::SimulatedConverter c;
        const Bytes reply = Ask(c, RequestFrame(info.id));
        ASSERT_EQ(reply.size(), info.size + 3);
        EXPECT_EQ(reply[1], info.size);
        EXPECT_TRUE(protocol::SumsToZero(reply.data(), reply.size()));
        EXPECT_EQ(Ask(c, RequestFrame(info.id, Bytes(info.size, 0))), NakFrame);
    }
}

TEST(ConverterModel, IndexedBlocksAreStoredPerIndexAndEchoed)
{
    sim::SimulatedConverter c;
    for (P id : {P::EmfRange, P::Segment}) {
        const protocol::ParameterInfo& info = protocol::infoOf(id);
        SCOPED_TRACE(std::string(info.name));
        for (std::size_t index = 0; index < info.slots; ++index) {
            Bytes block(info.size, static_cast<std::uint8_t>(index + 1));
            Bytes request = block;
            request.insert(request.begin(), static_cast<std::uint8_t>(index));
            if (id == P::EmfRange)
                block.back() = request.back() = 5; // a valid degree
            EXPECT_EQ(Ask(c, RequestFrame(id, request)), Ack(block));
        }
        for (std::size_t index = 0; index < info.slots; ++index)
            EXPECT_EQ(c.model.memory.value(id, index)[0], index + 1);
        Bytes beyond(info.size + 1, 0);
        beyond[0] = static_cast<std::uint8_t>(info.slots);
        EXPECT_EQ(Ask(c, RequestFrame(id, beyond)), NakFrame);
        EXPECT_EQ(Ask(c, RequestFrame(id)), NakFrame);                   // not readable
        EXPECT_EQ(Ask(c, RequestFrame(id, Bytes(info.size))), NakFrame); // index missing
    }
}

TEST(ConverterModel, CommitNeedsItsDataByteAndIsCounted)
{
    sim::SimulatedConverter c;
    EXPECT_EQ(Ask(c, RequestFrame(P::Commit)), NakFrame);
    EXPECT_EQ(Ask(c, RequestFrame(P::Commit, {0})), Ack({}));
    EXPECT_EQ(Ask(c, RequestFrame(P::Commit, {0})), Ack({}));
    EXPECT_EQ(c.model.memory.commits, 2u);
}

TEST(ConverterModel, RefusesUnknownCodesAndSizesThatFitNeitherReadNorWrite)
{
    sim::SimulatedConverter c;
    for (std::uint8_t code : {0x00, 0x20, 0x28, 0x2A, 0x2F, 0x33, 0x43, 0xFF})
        EXPECT_EQ(Ask(c, RequestFrame(code)), NakFrame) << int(code);
    EXPECT_EQ(Ask(c, RequestFrame(P::Filter, {1, 2})), NakFrame);
    EXPECT_EQ(Ask(c, RequestFrame(P::RangeMin, {1, 2, 3})), NakFrame);
    EXPECT_EQ(Ask(c, RequestFrame(P::Relay1, Bytes(12))), NakFrame);
    EXPECT_EQ(Ask(c, RequestFrame(P::CurveCoefficients, Bytes(41))), NakFrame);
    EXPECT_EQ(c.model.memory, sim::ParameterMemory()); // nothing refused was stored
}

struct ByteClip {
    P id;
    std::uint8_t written;
    std::uint8_t stored;
};

TEST(ConverterModel, ClipsCodesToTheirValidRange)
{
    const ByteClip cases[] = {
        {P::Filter, 30, 30},        {P::Filter, 31, 30},        {P::Filter, 255, 30},
        {P::ErrorSignalling, 3, 3}, {P::ErrorSignalling, 4, 3}, {P::InputType, 15, 15},
        {P::InputType, 16, 15},     {P::SegmentCount, 20, 20},  {P::SegmentCount, 21, 20},
        {P::CurveDegree, 9, 9},     {P::CurveDegree, 10, 9},
    };
    for (const ByteClip& k : cases) {
        sim::SimulatedConverter c;
        EXPECT_EQ(Ask(c, RequestFrame(k.id, {k.written})), Ack({k.stored}))
            << protocol::infoOf(k.id).name << " " << int(k.written);
    }
}

TEST(ConverterModel, ClipsRealsAndRecords)
{
    sim::SimulatedConverter c;
    c.model.memory.setReal(P::RangeMin, 4.0f);
    c.model.memory.setReal(P::ScaleMax, 100.0f);
    EXPECT_EQ(Ask(c, RequestFrame(P::RangeMin, FloatBytes(NAN))), Ack(FloatBytes(4.0f)));
    EXPECT_EQ(Ask(c, RequestFrame(P::ScaleMax, FloatBytes(-INFINITY))), Ack(FloatBytes(100.0f)));
    EXPECT_EQ(Ask(c, RequestFrame(P::Divider, FloatBytes(0.0f))), Ack(FloatBytes(1.0f)));
    EXPECT_EQ(Ask(c, RequestFrame(P::Shunt, FloatBytes(-5.0f))), Ack(FloatBytes(0.001f)));
    EXPECT_EQ(Ask(c, RequestFrame(P::ScaleMin, FloatBytes(-1e30f))), Ack(FloatBytes(-99999.0f)));
    EXPECT_EQ(Ask(c, RequestFrame(P::ScaleMax, FloatBytes(99999.5f))), Ack(FloatBytes(99999.0f)));

    Bytes relay = Harmless(protocol::infoOf(P::Relay1));
    relay[12] = 2;
    sim::PutReal(relay.data() + 4, NAN);
    Bytes kept = relay;
    kept[12] = 1;
    sim::PutReal(kept.data() + 4, 0.0f);
    EXPECT_EQ(Ask(c, RequestFrame(P::Relay2, relay)), Ack(kept));

    Bytes piece(protocol::EmfRangeSize + 1, 0);
    piece.back() = 13;
    EXPECT_EQ(Ask(c, RequestFrame(P::EmfRange, piece)).at(2 + 56), 12);
}

TEST(ConverterModel, KeepsPolynomialAndSegmentBitsExactly)
{
    sim::SimulatedConverter c;
    Bytes coefficients(protocol::CoefficientsSize, 0);
    sim::PutU32(coefficients.data(), 0xC372CA74);     // Pt 100 c0
    sim::PutU32(coefficients.data() + 4, 0x7FC00001); // a NaN payload
    sim::PutU32(coefficients.data() + 8, 0x80000000); // -0
    EXPECT_EQ(Ask(c, RequestFrame(P::CurveCoefficients, coefficients)), Ack(coefficients));
    EXPECT_EQ(Ask(c, RequestFrame(P::CurveCoefficients)), Ack(coefficients));
}

} // namespace
