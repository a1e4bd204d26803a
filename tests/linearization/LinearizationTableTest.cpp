#include "linearization/LinearizationTable.h"
#include "linearization/WaitCursorHook.h"

#include "device/ConverterLink.h"
#include "device/Protocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A converter in memory: answers each request frame with the echo a real one
// gives (or a NAK), and keeps every byte written, in order. Events from the
// wait cursor land in the same log, so their place among the frames shows.
class EchoConverter : public ByteTransport {
public:
    struct Log {
        Bytes written;
        std::vector<std::string> events; // "frame <code>", "show", "restore"
        bool refuse = false;             // answer NAK to everything
    };

    explicit EchoConverter(Log& log) : log(log) {}

    bool open(const std::string&) override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    void purge(std::uint32_t) override {}

    std::int32_t write(const std::uint8_t* buffer, std::int32_t count) override
    {
        log.written.insert(log.written.end(), buffer, buffer + count);
        const std::uint8_t code = buffer[1];
        log.events.push_back("frame " + std::to_string(code));
        Bytes reply;
        if (log.refuse) {
            reply = {protocol::Nak, protocol::NakChecksum};
        } else {
            Bytes data(buffer + 3, buffer + 3 + buffer[2]);
            if (code == protocol::Code(protocol::Parameter::Segment))
                data.erase(data.begin()); // the echo leaves out the index
            reply = {protocol::Ack, static_cast<std::uint8_t>(data.size())};
            reply.insert(reply.end(), data.begin(), data.end());
            reply.push_back(protocol::Checksum(reply.data(), reply.size()));
        }
        incoming.insert(incoming.end(), reply.begin(), reply.end());
        return count;
    }

    std::int32_t read(std::uint8_t* buffer, std::int32_t count) override
    {
        std::int32_t n = 0;
        for (; n < count && !incoming.empty(); ++n) {
            buffer[n] = incoming.front();
            incoming.pop_front();
        }
        return n;
    }

private:
    Log& log;
    std::deque<std::uint8_t> incoming;
};

class RecordingCursor : public WaitCursorHook {
public:
    explicit RecordingCursor(EchoConverter::Log& log) : log(log) {}
    void show() override { log.events.push_back("show"); }
    void restore() override { log.events.push_back("restore"); }

private:
    EchoConverter::Log& log;
};

// A request frame written out by hand: 01 code n data checksum.
Bytes Request(protocol::Parameter p, const Bytes& data)
{
    Bytes frame = {protocol::Start, protocol::Code(p), static_cast<std::uint8_t>(data.size())};
    frame.insert(frame.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (auto b : frame)
        sum += b;
    frame.push_back(static_cast<std::uint8_t>(-sum));
    return frame;
}

Bytes FloatBytes(std::initializer_list<float> values)
{
    Bytes out;
    for (float v : values) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    return out;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct Upload {
    EchoConverter::Log log;
    void run(const LinearizationTable& table, bool withCursor = true)
    {
        ConverterLink link(std::make_unique<EchoConverter>(log));
        RecordingCursor cursor(log);
        table.upload(link, withCursor ? &cursor : nullptr);
    }
};

using protocol::Parameter;

} // namespace

TEST(LinearizationTable, ClearKeepsTheRange)
{
    LinearizationTable table;
    EXPECT_FALSE(table.hasContent());
    table.segmentCount = 2;
    table.segments[1] = LinearSegment{1, 2, 0, 0, 3};
    table.coefficients[4] = 5;
    table.min = -4;
    table.max = 9;
    EXPECT_TRUE(table.hasContent());
    table.clear();
    EXPECT_FALSE(table.hasContent());
    EXPECT_EQ(table.segments[1].a1, 0);
    EXPECT_EQ(table.coefficients[4], 0);
    EXPECT_EQ(table.min, -4);
    EXPECT_EQ(table.max, 9);
    table.polynomialDegree = 3;
    EXPECT_TRUE(table.hasContent());
}

TEST(LinearizationTableUpload, EmptyTableClearsBothForms)
{
    LinearizationTable table;
    table.min = 1.5f;
    table.max = -2.0f;
    Upload upload;
    upload.run(table);
    const Bytes expected = {
        0x01, 0x36, 0x04, 0x00, 0x00, 0xC0, 0x3F, 0xC6, // RangeMin 1.5
        0x01, 0x37, 0x04, 0x00, 0x00, 0x00, 0xC0, 0x04, // RangeMax -2
        0x01, 0x3F, 0x01, 0x00, 0xBF,                   // SegmentCount 0
        0x01, 0x38, 0x01, 0x00, 0xC6,                   // CurveDegree 0
    };
    EXPECT_EQ(upload.log.written, expected);
    EXPECT_EQ(std::count(upload.log.events.begin(), upload.log.events.end(), "show"), 0);
}

TEST(LinearizationTableUpload, SplineSendsEverySegmentUnderTheWaitCursor)
{
    LinearizationTable table;
    table.min = 0;
    table.max = 20;
    table.segmentCount = MaxSegments;
    for (int i = 0; i < MaxSegments; ++i)
        table.segments[i] = LinearSegment{static_cast<float>(i), 0.5f * i, 0, 0, -1.0f * i};
    table.coefficients[3] = 7; // stale polynomial slots are not sent
    Upload upload;
    upload.run(table);

    Bytes expected = Concat(
        {Request(Parameter::RangeMin, FloatBytes({0})), Request(Parameter::RangeMax, FloatBytes({20}))});
    for (int i = 0; i < MaxSegments; ++i) {
        const LinearSegment& s = table.segments[i];
        Bytes data = {static_cast<std::uint8_t>(i)};
        const Bytes values = FloatBytes({s.a0, s.a1, s.a2, s.a3, s.x0});
        data.insert(data.end(), values.begin(), values.end());
        expected = Concat({expected, Request(Parameter::Segment, data)});
    }
    expected =
        Concat({expected, Request(Parameter::SegmentCount, {20}), Request(Parameter::CurveDegree, {0})});
    EXPECT_EQ(upload.log.written, expected);

    // The cursor is shown from the first segment to the curve degree.
    const auto& e = upload.log.events;
    ASSERT_EQ(e.size(), 2u + 1 + MaxSegments + 2 + 1);
    EXPECT_EQ(e[2], "show");
    EXPECT_EQ(e[3], "frame 66");
    EXPECT_EQ(e[e.size() - 2], "frame 56");
    EXPECT_EQ(e.back(), "restore");
}

TEST(LinearizationTableUpload, PolynomialSendsAllTenCoefficientsThenItsDegree)
{
    LinearizationTable table;
    table.min = -50;
    table.max = 150;
    table.polynomialDegree = 3;
    table.coefficients[0] = 0.25f;
    table.coefficients[1] = 1;
    table.coefficients[3] = -3e-7f;
    Upload upload;
    upload.run(table);
    const Bytes expected = Concat({
        Request(Parameter::RangeMin, FloatBytes({-50})),
        Request(Parameter::RangeMax, FloatBytes({150})),
        Request(Parameter::CurveCoefficients, FloatBytes({0.25f, 1, 0, -3e-7f, 0, 0, 0, 0, 0, 0})),
        Request(Parameter::CurveDegree, {3}),
        Request(Parameter::SegmentCount, {0}),
    });
    EXPECT_EQ(upload.log.written, expected);
    EXPECT_EQ(std::count(upload.log.events.begin(), upload.log.events.end(), "show"), 0);
}

TEST(LinearizationTableUpload, RefusedWritesDoNotStopTheSequence)
{
    LinearizationTable table;
    table.segmentCount = 2;
    Upload refused;
    refused.log.refuse = true;
    refused.run(table);
    Upload accepted;
    accepted.run(table, false);
    EXPECT_EQ(refused.log.written, accepted.log.written);
    EXPECT_EQ(refused.log.events.back(), "restore");
    EXPECT_EQ(accepted.log.events.size(), 6u); // no cursor given: frames only
}
