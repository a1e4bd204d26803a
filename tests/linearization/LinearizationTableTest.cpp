#include "linearization/LinearizationTable.h"
#include "framework/WaitCursorHook.h"

#include "device/ConverterLink.h"
#include "device/Protocol.h"
#include "tests/device/MemoryConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// What an upload sent: every byte written, in order, and the frames among
// the wait cursor's events ("frame <code>", "show", "restore").
struct UploadLog {
    Bytes written;
    std::vector<std::string> events;
};

// A converter in memory that also keeps the raw bytes of each frame.
class RecordingConverter : public MemoryConverter {
public:
    explicit RecordingConverter(UploadLog& log) : log(log)
    {
        onRequest = [&log](const Request& request) {
            log.events.push_back("frame " + std::to_string(request.command));
            return std::optional<Bytes>();
        };
    }

    std::int32_t write(const std::uint8_t* buffer, std::int32_t count) override
    {
        log.written.insert(log.written.end(), buffer, buffer + count);
        return MemoryConverter::write(buffer, count);
    }

private:
    UploadLog& log;
};

class RecordingCursor : public WaitCursorHook {
public:
    explicit RecordingCursor(UploadLog& log) : log(log) {}
    void show() override { log.events.push_back("show"); }
    void restore() override { log.events.push_back("restore"); }

private:
    UploadLog& log;
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
    UploadLog log;
    bool refuse = false; // the converter answers 15 EB to everything
    void run(const LinearizationTable& table, bool withCursor = true)
    {
        auto converter = std::make_unique<RecordingConverter>(log);
        converter->refuse = refuse;
        ConverterLink link(std::move(converter));
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
    refused.refuse = true;
    refused.run(table);
    Upload accepted;
    accepted.run(table, false);
    EXPECT_EQ(refused.log.written, accepted.log.written);
    EXPECT_EQ(refused.log.events.back(), "restore");
    EXPECT_EQ(accepted.log.events.size(), 6u); // no cursor given: frames only
}
