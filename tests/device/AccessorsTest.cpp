// Every parameter accessor: its command code, request size, reply size and
// the value it delivers.
#include "tests/device/ScriptedLinkTest.h"

#include <gtest/gtest.h>

#include <bit>

namespace {

using Bytes = ScriptedTransport::Bytes;

Bytes Request(std::uint8_t code, const Bytes& data)
{
    Bytes frame;
    frame.reserve(data.size() + 4);
    frame.push_back(0x01);
    frame.push_back(code);
    frame.push_back(static_cast<std::uint8_t>(data.size()));
    for (std::uint8_t b : data)
        frame.push_back(b);
    frame.push_back(protocol::Checksum(frame.data(), frame.size()));
    return frame;
}

Bytes FloatBytes(float v)
{
    const auto bits = std::bit_cast<std::uint32_t>(v);
    return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

class Accessors : public ScriptedLinkTest {
protected:
    void expectLastRequest(std::uint8_t code, const Bytes& data)
    {
        ASSERT_FALSE(record.writes.empty());
        EXPECT_EQ(record.writes.back(), Request(code, data));
    }
};

TEST_F(Accessors, ByteParameters)
{
    using Read = bool (ConverterLink::*)(std::uint8_t&);
    using Write = bool (ConverterLink::*)(std::uint8_t);
    const std::vector<std::pair<std::uint8_t, Read>> reads = {
        {0x2C, &ConverterLink::readInputType},       {0x2D, &ConverterLink::readOutputType},
        {0x2E, &ConverterLink::readRelayOptions},    {0x38, &ConverterLink::readCurveDegree},
        {0x3E, &ConverterLink::readFilter},          {0x3F, &ConverterLink::readSegmentCount},
        {0x40, &ConverterLink::readErrorSignalling},
    };
    for (const auto& [code, read] : reads) {
        SCOPED_TRACE(int(code));
        port->queue(AckFrame({code}));
        std::uint8_t value = 0;
        ASSERT_TRUE((link.get()->*read)(value));
        EXPECT_EQ(value, code);
        expectLastRequest(code, {});
    }
    const std::vector<std::pair<std::uint8_t, Write>> writes = {
        {0x2C, &ConverterLink::writeInputType},
        {0x38, &ConverterLink::writeCurveDegree},
        {0x3E, &ConverterLink::writeFilter},
        {0x3F, &ConverterLink::writeSegmentCount},
    };
    for (const auto& [code, write] : writes) {
        SCOPED_TRACE(int(code));
        port->queue(AckFrame({0}));
        EXPECT_TRUE((link.get()->*write)(9));
        expectLastRequest(code, {9});
    }
    std::uint8_t signalling = 1;
    port->queue(AckFrame({1}));
    EXPECT_TRUE(link->writeErrorSignalling(signalling));
    expectLastRequest(0x40, {1});
}

TEST_F(Accessors, RealParameters)
{
    using Read = bool (ConverterLink::*)(float&);
    using Write = bool (ConverterLink::*)(float);
    using WriteEcho = bool (ConverterLink::*)(float&);
    const std::vector<std::pair<std::uint8_t, Read>> reads = {
        {0x24, &ConverterLink::readLiveInput}, {0x25, &ConverterLink::readLiveProcess},
        {0x26, &ConverterLink::readLiveValue}, {0x27, &ConverterLink::readLiveRatio},
        {0x34, &ConverterLink::readDivider},   {0x35, &ConverterLink::readShunt},
        {0x36, &ConverterLink::readRangeMin},  {0x37, &ConverterLink::readRangeMax},
        {0x3C, &ConverterLink::readScaleMin},  {0x3D, &ConverterLink::readScaleMax},
    };
    for (const auto& [code, read] : reads) {
        SCOPED_TRACE(int(code));
        port->queue(AckFrame(FloatBytes(-12.25f)));
        float value = 0;
        ASSERT_TRUE((link.get()->*read)(value));
        EXPECT_EQ(value, -12.25f);
        expectLastRequest(code, {});
    }
    const std::vector<std::pair<std::uint8_t, Write>> writes = {
        {0x34, &ConverterLink::writeDivider},
        {0x35, &ConverterLink::writeShunt},
        {0x36, &ConverterLink::writeRangeMin},
        {0x37, &ConverterLink::writeRangeMax},
    };
    for (const auto& [code, write] : writes) {
        SCOPED_TRACE(int(code));
        port->queue(AckFrame(FloatBytes(0.0f)));
        EXPECT_TRUE((link.get()->*write)(100.5f));
        expectLastRequest(code, FloatBytes(100.5f));
    }
    const std::vector<std::pair<std::uint8_t, WriteEcho>> echoing = {
        {0x3C, &ConverterLink::writeScaleMin},
        {0x3D, &ConverterLink::writeScaleMax},
    };
    for (const auto& [code, write] : echoing) {
        SCOPED_TRACE(int(code));
        port->queue(AckFrame(FloatBytes(4.0f)));
        float value = 100.5f;
        EXPECT_TRUE((link.get()->*write)(value));
        EXPECT_EQ(value, 4.0f);
        expectLastRequest(code, FloatBytes(100.5f));
    }
}

TEST_F(Accessors, IdentityNumbers)
{
    port->queue(AckFrame({0x12, 0x01}));
    std::uint16_t version = 0;
    ASSERT_TRUE(link->readFirmwareVersion(version));
    EXPECT_EQ(version, 0x0112);
    expectLastRequest(0x22, {});

    port->queue(AckFrame({0xFE, 0xFF, 0xFF, 0xFF}));
    std::int32_t serial = 0;
    ASSERT_TRUE(link->readSerialNumber(serial));
    EXPECT_EQ(serial, -2);
    expectLastRequest(0x23, {});

    // The version is a 16-bit value: a 4-byte reply is not one.
    port->queue(AckFrame({1, 2, 3, 4}));
    EXPECT_FALSE(link->readFirmwareVersion(version));
    EXPECT_EQ(version, 0x0112);
}

TEST_F(Accessors, CurveCoefficientsTravelAsFortyBytes)
{
    CurveCoefficients curve{};
    for (std::size_t i = 0; i < curve.size(); ++i)
        curve[i] = 0.5f * static_cast<float>(i) - 1.0f;
    Bytes block;
    for (float c : curve) {
        const Bytes b = FloatBytes(c);
        block.insert(block.end(), b.begin(), b.end());
    }

    port->queue(AckFrame(block));
    CurveCoefficients read{};
    ASSERT_TRUE(link->readCurveCoefficients(read));
    EXPECT_EQ(read, curve);
    expectLastRequest(0x39, {});

    // The echo of a coefficient write is checked, not taken.
    port->queue(AckFrame(Bytes(40, 0)));
    EXPECT_TRUE(link->writeCurveCoefficients(curve));
    expectLastRequest(0x39, block);
    port->queue(AckFrame(Bytes(13, 0)));
    EXPECT_FALSE(link->writeCurveCoefficients(curve));
}

TEST_F(Accessors, RelayReads)
{
    const RelaySettings stored{3.0f, -1.0f, 500, 65535, 1};
    const auto bytes = stored.encode();
    port->queue(AckFrame(Bytes(bytes.begin(), bytes.end())));
    RelaySettings value;
    ASSERT_TRUE(link->readRelay1(value));
    EXPECT_EQ(value, stored);
    expectLastRequest(0x3A, {});

    port->queue(AckFrame(Bytes(bytes.begin(), bytes.end())));
    RelaySettings second;
    ASSERT_TRUE(link->readRelay2(second));
    EXPECT_EQ(second, stored);
    expectLastRequest(0x3B, {});
}

TEST_F(Accessors, IndexedBlocksSendTheIndexFirst)
{
    EmfRangePiece piece{};
    for (std::size_t i = 0; i < piece.size(); ++i)
        piece[i] = static_cast<std::uint8_t>(i + 1);
    port->queue(AckFrame(Bytes(57, 0)));
    EXPECT_TRUE(link->writeEmfRange(3, piece));
    Bytes expected{3};
    expected.insert(expected.end(), piece.begin(), piece.end());
    expectLastRequest(0x41, expected);
    EXPECT_EQ(record.writes.back().size(), 62u); // the largest request

    // The reply carries the block without its index.
    port->queue(AckFrame(Bytes(58, 0)));
    EXPECT_FALSE(link->writeEmfRange(3, piece));

    const SegmentRecord segment{1.0f, 2.0f, 0.5f, -0.25f, 8.0f};
    port->queue(AckFrame(Bytes(20, 0)));
    EXPECT_TRUE(link->writeSegment(19, segment));
    Bytes segmentBytes{19};
    for (float v : segment) {
        const Bytes b = FloatBytes(v);
        segmentBytes.insert(segmentBytes.end(), b.begin(), b.end());
    }
    expectLastRequest(0x42, segmentBytes);
}

} // namespace
