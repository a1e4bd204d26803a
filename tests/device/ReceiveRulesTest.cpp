// Request framing and the reply receiver, driven through a scripted port.
#include "tests/device/ScriptedLinkTest.h"

#include <gtest/gtest.h>

namespace {

using Bytes = ScriptedTransport::Bytes;
constexpr std::uint32_t PurgeBoth = ByteTransport::PurgeTxClear | ByteTransport::PurgeRxClear;

class ReceiveRules : public ScriptedLinkTest {
protected:
    // Reads the filter (1 data byte); the value is left at 99 on failure.
    bool readFilter(std::uint8_t& value)
    {
        value = 99;
        return link->readFilter(value);
    }
};

TEST_F(ReceiveRules, FramesMatchTheProtocolExamples)
{
    port->queue({0x06, 0x01, 0x07, 0xF2});
    EXPECT_TRUE(link->writeFilter(7));
    port->queue({0x06, 0x00, 0xFA});
    EXPECT_TRUE(link->commit());
    std::uint8_t inputType = 0;
    EXPECT_FALSE(link->readInputType(inputType)); // silent

    ASSERT_EQ(record.writes.size(), 3u);
    EXPECT_EQ(record.writes[0], (Bytes{0x01, 0x3E, 0x01, 0x07, 0xB9}));
    EXPECT_EQ(record.writes[1], (Bytes{0x01, 0x2B, 0x01, 0x00, 0xD3}));
    EXPECT_EQ(record.writes[2], (Bytes{0x01, 0x2C, 0x00, 0xD3}));
    EXPECT_TRUE(record.purges.empty());
    EXPECT_EQ(AckFrame({0x07}), (Bytes{0x06, 0x01, 0x07, 0xF2}));
}

TEST_F(ReceiveRules, StrayBytesBeforeTheReplyAreSkipped)
{
    port->queue({0x00, 0xFF, 0x01, 0xEB});
    port->queue(AckFrame({12}));
    std::uint8_t value = 0;
    ASSERT_TRUE(readFilter(value));
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(record.purges.empty());
}

TEST_F(ReceiveRules, ReplyArrivingInPiecesIsAssembled)
{
    const Bytes reply = AckFrame({0x00, 0x00, 0xC0, 0x3F});
    for (std::uint8_t b : reply)
        port->queue({b});
    float value = 0;
    ASSERT_TRUE(link->readRangeMin(value));
    EXPECT_EQ(value, 1.5f);
}

TEST_F(ReceiveRules, WellFormedReplyOfAnotherLengthFailsWithoutPurge)
{
    port->queue(AckFrame({1, 2}));
    float value = 3.0f;
    EXPECT_FALSE(link->readRangeMax(value));
    EXPECT_EQ(value, 3.0f);
    EXPECT_TRUE(record.purges.empty());
}

TEST_F(ReceiveRules, NegativeReplyFailsWithoutPurge)
{
    port->queue({0x15, 0xEB});
    std::uint8_t value = 0;
    EXPECT_FALSE(readFilter(value));
    EXPECT_EQ(value, 99);
    EXPECT_TRUE(record.purges.empty());
}

TEST_F(ReceiveRules, BrokenFramesPurgeBothDirections)
{
    struct Case {
        const char* what;
        std::vector<Bytes> chunks; // empty chunk = silence
    };
    const std::vector<Case> cases = {
        {"bad checksum", {{0x06, 0x01, 0x07, 0xF3}}}, {"NAK followed by a wrong byte", {{0x15, 0x00}}},
        {"NAK, then silence", {{0x15}, {}}},          {"ACK, then silence before the length", {{0x06}, {}}},
        {"data cut short", {{0x06, 0x01}, {}}},       {"checksum missing", {{0x06, 0x01, 0x07}, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        record.purges.clear();
        for (const Bytes& chunk : c.chunks)
            chunk.empty() ? port->queueSilence() : port->queue(chunk);
        std::uint8_t value = 0;
        EXPECT_FALSE(readFilter(value));
        EXPECT_EQ(value, 99);
        EXPECT_EQ(record.purges, std::vector<std::uint32_t>{PurgeBoth});
        EXPECT_EQ(port->pendingChunks(), 0u);
    }
}

TEST_F(ReceiveRules, SilenceBeforeAnyReplyFailsAtOnceWithoutPurge)
{
    std::uint8_t value = 0;
    EXPECT_FALSE(readFilter(value));
    EXPECT_EQ(record.readRequests.size(), 1u);
    EXPECT_TRUE(record.purges.empty());
}

TEST_F(ReceiveRules, OversizeLengthIsRefusedBeforeReadingOn)
{
    // 62 data bytes would run past the 64-byte buffer.
    Bytes reply(2 + 62 + 1, 0x55);
    reply[0] = 0x06;
    reply[1] = 62;
    reply.back() = protocol::Checksum(reply.data(), reply.size() - 1);
    port->queue(reply);
    std::uint8_t value = 0;
    EXPECT_FALSE(readFilter(value));
    EXPECT_EQ(record.purges, std::vector<std::uint32_t>{PurgeBoth});
    for (std::int32_t asked : record.readRequests)
        EXPECT_LE(asked, 62);
}

TEST_F(ReceiveRules, ReplyFillingTheBufferIsReadWhole)
{
    // 61 data bytes fill the buffer exactly; no parameter has that size, so
    // the well-formed reply is refused for its length only.
    Bytes data(61, 0x11);
    port->queue(AckFrame(data));
    std::uint8_t value = 0;
    EXPECT_FALSE(readFilter(value));
    EXPECT_TRUE(record.purges.empty());
}

TEST_F(ReceiveRules, EndlessNoiseEndsTheTransaction)
{
    port->queue(Bytes(5000, 0x00));
    std::uint8_t value = 0;
    EXPECT_FALSE(readFilter(value));
    EXPECT_EQ(record.purges, std::vector<std::uint32_t>{PurgeBoth});
}

TEST_F(ReceiveRules, EchoingWritesHandBackTheStoredValue)
{
    std::uint8_t signalling = 2;
    port->queue(AckFrame({0}));
    ASSERT_TRUE(link->writeErrorSignalling(signalling));
    EXPECT_EQ(signalling, 0);

    float scale = 1000.0f; // clipped by the converter to 999.5
    port->queue(AckFrame({0x00, 0xE0, 0x79, 0x44}));
    ASSERT_TRUE(link->writeScaleMax(scale));
    EXPECT_EQ(scale, 999.5f);

    // A failed write leaves the value that was to be written.
    scale = 5.0f;
    port->queue({0x15, 0xEB});
    EXPECT_FALSE(link->writeScaleMin(scale));
    EXPECT_EQ(scale, 5.0f);
    signalling = 3;
    EXPECT_FALSE(link->writeErrorSignalling(signalling));
    EXPECT_EQ(signalling, 3);
}

TEST_F(ReceiveRules, RelayWriteTakesBackTheEchoedRecord)
{
    RelaySettings sent{1.5f, 0.5f, 10, 20, 1};
    RelaySettings stored{2.0f, 0.5f, 10, 20, 0};
    const RelaySettings::Bytes echo = stored.encode();
    port->queue(AckFrame(Bytes(echo.begin(), echo.end())));
    RelaySettings value = sent;
    ASSERT_TRUE(link->writeRelay2(value));
    EXPECT_EQ(value, stored);
    ASSERT_EQ(record.writes.size(), 1u);
    EXPECT_EQ(record.writes[0], (Bytes{0x01, 0x3B, 13, 0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0x3F, 0x0A,
                                       0x00, 0x14, 0x00, 0x01, record.writes[0].back()}));
    EXPECT_TRUE(protocol::SumsToZero(record.writes[0].data(), record.writes[0].size()));

    value = sent;
    EXPECT_FALSE(link->writeRelay1(value));
    EXPECT_EQ(value, sent);
}

TEST_F(ReceiveRules, IdentityIsTheTextUpToItsFirstNul)
{
    port->queue(AckFrame({'D', 'N', 'X', '8', 0, 'x', 'y', 'z'}));
    EXPECT_EQ(link->identify(), "DNX8");
    port->queue(AckFrame({'D', 'N', 'X', '8', '1', 0, 0, 0}));
    EXPECT_EQ(link->identify(), "DNX81");
    port->queue(AckFrame({'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}));
    EXPECT_EQ(link->identify(), "ABCDEFGH");
    port->queue(AckFrame({'D', 'N', 'X', '8'}));
    EXPECT_EQ(link->identify(), std::nullopt);
    EXPECT_EQ(link->identify(), std::nullopt); // silent
    EXPECT_EQ(record.writes.back(), (Bytes{0x01, 0x21, 0x00, 0xDE}));
}

TEST(ConverterLinkOpen, PrefixesThePortNameAndRefusesEmptyNames)
{
    ScriptedTransport::Record record;
    ConverterLink link(std::make_unique<ScriptedTransport>(record));
    EXPECT_FALSE(link.open(""));
    EXPECT_FALSE(link.open(std::string("COM3\0X", 6)));
    EXPECT_TRUE(record.openedPath.empty());
    ASSERT_TRUE(link.open("COM3"));
#ifdef _WIN32
    EXPECT_EQ(record.openedPath, "\\\\.\\COM3");
#else
    EXPECT_EQ(record.openedPath, "COM3");
#endif
    link.close();
    EXPECT_FALSE(link.isOpen());
}

} // namespace

namespace {

// What the link says about each failure, and what it sends once stopped.
TEST_F(ReceiveRules, FailuresAreToldApartAndAStopSendsNothingMore)
{
    std::uint8_t value = 0;
    struct Case {
        Bytes reply;
        LinkFailure failure;
    };
    const Case cases[] = {
        {{}, LinkFailure::Silent},
        {{0x06, 0x01, 0x07}, LinkFailure::Broken},            // one byte short
        {{0x06, 0x01, 0x07, 0xF3}, LinkFailure::Broken},      // bad checksum
        {{0x06, 0x02, 0x07, 0x00, 0xF1}, LinkFailure::Broken}, // wrong length
        {{0x15, 0xEB}, LinkFailure::Nak},
        {{0x06, 0x01, 0x07, 0xF2}, LinkFailure::None},
    };
    link->startJournal();
    for (const Case& c : cases) {
        port->queue(c.reply);
        EXPECT_EQ(link->readFilter(value), c.failure == LinkFailure::None);
        EXPECT_EQ(link->lastFailure(), c.failure) << linkFailureText(c.failure);
    }
    bool stop = false;
    link->setStopCheck([&stop] { return stop; });
    stop = true;
    const std::size_t sent = record.writes.size();
    EXPECT_FALSE(link->writeFilter(3));
    EXPECT_EQ(link->lastFailure(), LinkFailure::Stopped);
    EXPECT_EQ(record.writes.size(), sent);

    const std::vector<LinkTransaction> journal = link->stopJournal();
    ASSERT_EQ(journal.size(), 7u);
    EXPECT_FALSE(journal[0].write);
    EXPECT_EQ(journal[4].outcome, LinkFailure::Nak);
    EXPECT_TRUE(journal[6].write);
    EXPECT_EQ(journal[6].outcome, LinkFailure::Stopped);
}

} // namespace

namespace {

// The write observer sees each data-carrying request with what was sent and
// echoed, reads not at all, and leaves the frames and the journal as they were.
TEST_F(ReceiveRules, TheWriteObserverSeesEveryWriteAndItsOutcome)
{
    std::vector<LinkWrite> seen;
    link->setWriteObserver([&seen](const LinkWrite& write) { seen.push_back(write); });
    link->startJournal();
    std::uint8_t value = 0;
    port->queue({0x06, 0x01, 0x07, 0xF2});
    EXPECT_TRUE(link->readFilter(value));
    port->queue({0x06, 0x01, 0x06, 0xF3}); // stores 6 for 9
    EXPECT_TRUE(link->writeFilter(9));
    port->queue({0x15, 0xEB});
    EXPECT_FALSE(link->writeFilter(4));
    port->queue({0x06, 0x00, 0xFA});
    EXPECT_TRUE(link->commit());
    EXPECT_EQ(link->stopJournal().size(), 4u);

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].code, 0x3E);
    EXPECT_EQ(seen[0].sent, std::vector<std::uint8_t>{9});
    EXPECT_EQ(seen[0].echo, std::vector<std::uint8_t>{6});
    EXPECT_EQ(seen[0].outcome, LinkFailure::None);
    EXPECT_EQ(seen[1].sent, std::vector<std::uint8_t>{4});
    EXPECT_TRUE(seen[1].echo.empty());
    EXPECT_EQ(seen[1].outcome, LinkFailure::Nak);
    EXPECT_EQ(seen[2].code, 0x2B);
    EXPECT_EQ(seen[2].outcome, LinkFailure::None);
    // The frames on the line are the link's own.
    ASSERT_GE(record.writes.size(), 2u);
    EXPECT_EQ(record.writes[1], (Bytes{0x01, 0x3E, 0x01, 0x09, 0xB7}));
}

} // namespace
