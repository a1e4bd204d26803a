// The frame codec against the bytes that the link, the simulated converter,
// the dry run and the memory converter put on the line before they shared
// it; the receiver fed one byte at a time; the trace line.
#include "device/FrameCodec.h"
#include "device/FrameReceiver.h"
#include "device/ParameterTable.h"
#include "device/TraceFormat.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Event = protocol::FrameReceiver::Event;
using Direction = protocol::FrameReceiver::Direction;

Bytes dataOf(const Bytes& frame, std::size_t header)
{
    return Bytes(frame.begin() + static_cast<std::ptrdiff_t>(header), frame.end() - 1);
}

// Request frames as the link wrote them: identify, error signalling 3,
// divider 2.5, segment 2 {1, -2, 0.5, 0, 100}, commit.
const std::vector<Bytes> LinkRequests = {
    {0x01, 0x21, 0x00, 0xDE},
    {0x01, 0x40, 0x01, 0x03, 0xBB},
    {0x01, 0x34, 0x04, 0x00, 0x00, 0x20, 0x40, 0x67},
    {0x01, 0x42, 0x15, 0x02, 0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0xC0, 0x00,
     0x00, 0x00, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC8, 0x42, 0xDE},
    {0x01, 0x2B, 0x01, 0x00, 0xD3},
};

// The replies the dry run and the memory converter gave to those requests
// (the memory converter holding "DNX8" as identity); the dry run answered
// the identity request with an empty reply.
const std::vector<Bytes> WriteReplies = {
    {0x06, 0x08, 0x44, 0x4E, 0x58, 0x38, 0x00, 0x00, 0x00, 0x00, 0xD0},
    {0x06, 0x01, 0x03, 0xF6},
    {0x06, 0x04, 0x00, 0x00, 0x20, 0x40, 0x96},
    {0x06, 0x14, 0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00,
     0x00, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC8, 0x42, 0x1E},
    {0x06, 0x00, 0xFA},
};

TEST(FrameCodec, BuildsTheBytesOfTheFormerBuilders)
{
    for (const Bytes& request : LinkRequests) {
        EXPECT_EQ(protocol::requestFrame(request[1], dataOf(request, protocol::RequestHeader)), request);
        // In place, as the link seals its buffer.
        Bytes buffer(request.size(), 0xAA);
        std::copy(request.begin() + protocol::RequestHeader, request.end() - 1,
                  buffer.begin() + protocol::RequestHeader);
        EXPECT_EQ(protocol::sealRequest(buffer.data(), request[1], request[2]), request.size());
        EXPECT_EQ(buffer, request);
    }
    for (const Bytes& reply : WriteReplies)
        EXPECT_EQ(protocol::positiveReply(dataOf(reply, protocol::ReplyHeader)), reply);
    EXPECT_EQ(protocol::positiveReply(Bytes{7}), (Bytes{0x06, 0x01, 0x07, 0xF2}));
    EXPECT_EQ(protocol::negativeReply(), (Bytes{0x15, 0xEB}));
}

TEST(FrameCodec, WriteEchoDropsWhatTheConverterDoesNotSendBack)
{
    for (std::size_t i = 1; i < LinkRequests.size(); ++i) {
        const Bytes& request = LinkRequests[i];
        const Bytes data = dataOf(request, protocol::RequestHeader);
        const auto echo = protocol::writeEcho(request[1], data);
        EXPECT_EQ(protocol::positiveReply(echo), WriteReplies[i]) << "request " << i;
    }
    const Bytes unknown = {1, 2, 3};
    EXPECT_EQ(protocol::writeEcho(0x7F, unknown).size(), 3u);
}

// Pushes bytes one at a time; returns every event that was not None.
std::vector<Event> pushAll(protocol::FrameReceiver& receiver, const Bytes& bytes)
{
    std::vector<Event> events;
    for (std::uint8_t b : bytes)
        if (const Event e = receiver.push(b); e != Event::None)
            events.push_back(e);
    return events;
}

TEST(FrameReceiver, ReplyByteByByteSaysHowMuchIsStillMissing)
{
    protocol::FrameReceiver receiver(Direction::Reply);
    const Bytes reply = WriteReplies[2];
    // Hunting and the length byte one at a time, then the rest at once.
    std::vector<std::size_t> wanted;
    for (std::size_t i = 0; i < reply.size(); ++i) {
        wanted.push_back(receiver.outstanding());
        EXPECT_EQ(receiver.push(reply[i]), i + 1 == reply.size() ? Event::Frame : Event::None);
    }
    EXPECT_EQ(wanted, (std::vector<std::size_t>{1, 1, 5, 4, 3, 2, 1}));
    EXPECT_TRUE(receiver.positive());
    EXPECT_EQ(Bytes(receiver.data().begin(), receiver.data().end()), (Bytes{0x00, 0x00, 0x20, 0x40}));
    EXPECT_FALSE(receiver.inFrame());
    EXPECT_EQ(receiver.outstanding(), 1u);
}

TEST(FrameReceiver, ReplyNoiseNakChecksumAndOversize)
{
    protocol::FrameReceiver receiver(Direction::Reply);
    // A request echo on the line is noise to the tool; 15 EB is a whole frame.
    EXPECT_EQ(pushAll(receiver, {0x01, 0x00, 0x15, 0xEB}),
              (std::vector<Event>{Event::Noise, Event::Noise, Event::Frame}));
    EXPECT_FALSE(receiver.positive());
    EXPECT_TRUE(receiver.data().empty());

    EXPECT_EQ(pushAll(receiver, {0x15, 0xEA}), (std::vector<Event>{Event::BadChecksum}));
    EXPECT_EQ(pushAll(receiver, {0x06, 0x01, 0x07, 0xF3}), (std::vector<Event>{Event::BadChecksum}));

    // 61 data bytes still fit the buffer; 62 are refused at the length byte.
    EXPECT_EQ(pushAll(receiver, {0x06, protocol::MaxReplyData}), (std::vector<Event>{}));
    EXPECT_EQ(receiver.outstanding(), protocol::MaxReplyData + 1);
    receiver.reset();
    EXPECT_EQ(pushAll(receiver, {0x06, protocol::MaxReplyData + 1}), (std::vector<Event>{Event::Oversized}));
    EXPECT_EQ(receiver.frame().size(), 2u);
    EXPECT_FALSE(receiver.inFrame());
}

TEST(FrameReceiver, RequestFramingAsTheConverterSeesIt)
{
    protocol::FrameReceiver receiver(Direction::Request);
    Bytes line = {0xFF, 0x06};
    line.insert(line.end(), LinkRequests[3].begin(), LinkRequests[3].end());
    EXPECT_EQ(pushAll(receiver, line), (std::vector<Event>{Event::Noise, Event::Noise, Event::Frame}));
    EXPECT_EQ(Bytes(receiver.frame().begin(), receiver.frame().end()), LinkRequests[3]);
    EXPECT_EQ(Bytes(receiver.data().begin(), receiver.data().end()), dataOf(LinkRequests[3], 3));

    EXPECT_EQ(pushAll(receiver, {0x01, 0x3E, 0x01, 0x07, 0xBA}), (std::vector<Event>{Event::BadChecksum}));
    EXPECT_EQ(pushAll(receiver, {0x01, 0x3E, protocol::MaxRequestData + 1}),
              (std::vector<Event>{Event::Oversized}));
    EXPECT_EQ(receiver.frame().size(), protocol::RequestHeader);

    // A frame cut short stays partial until the caller drops it.
    EXPECT_EQ(pushAll(receiver, {0x01, 0x3E}), (std::vector<Event>{}));
    EXPECT_TRUE(receiver.inFrame());
    EXPECT_EQ(Bytes(receiver.partial().begin(), receiver.partial().end()), (Bytes{0x01, 0x3E}));
    receiver.reset();
    EXPECT_EQ(pushAll(receiver, {0x3E}), (std::vector<Event>{Event::Noise}));
}

TEST(TraceFormat, LinesReadAlikeOnBothSides)
{
    const Bytes request = {0x01, 0x3E, 0x01, 0x07, 0xB9};
    EXPECT_EQ(protocol::traceLine(0.012345, protocol::TraceKind::Request, request),
              "0.012345 request 01 3E 01 07 B9");
    EXPECT_EQ(protocol::traceLine(1.5, protocol::TraceKind::Noise, Bytes{0xAB}), "1.500000 noise AB");
    EXPECT_EQ(protocol::traceLine(0.2, protocol::TraceKind::Reply, {}, "(time-out)"),
              "0.200000 reply (time-out)");
    EXPECT_EQ(protocol::traceLine(0.2, protocol::TraceKind::Reply, Bytes{0x06, 0x01}, "(time-out)"),
              "0.200000 reply 06 01 (time-out)");
}

} // namespace
