#include "SimTestSupport.h"

#include <gtest/gtest.h>

namespace {

using P = protocol::Parameter;
using sim::Fault;

const Bytes ReadFilter = RequestFrame(P::Filter);

sim::SimulatedConverter WithFilter(std::uint8_t value)
{
    sim::SimulatedConverter c;
    c.model.memory.setByte(P::Filter, value);
    return c;
}

TEST(Framing, SkipsNoiseAndAssemblesFramesAcrossChunks)
{
    sim::SimulatedConverter c = WithFilter(9);
    Bytes stream = {0x00, 0xFF, 0x06};
    stream.insert(stream.end(), ReadFilter.begin(), ReadFilter.end());
    stream.insert(stream.end(), ReadFilter.begin(), ReadFilter.end());

    auto first = c.receive(std::span(stream).first(5), 0.0);
    EXPECT_TRUE(first.empty());
    EXPECT_TRUE(c.inFrame());
    auto rest = c.receive(std::span(stream).subspan(5), 0.0);
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].noise, (Bytes{0x00, 0xFF, 0x06}));
    EXPECT_EQ(rest[0].request, ReadFilter);
    EXPECT_EQ(rest[0].reply.bytes, Ack({9}));
    EXPECT_TRUE(rest[1].noise.empty());
    EXPECT_EQ(rest[1].reply.bytes, Ack({9}));
}

TEST(Framing, RefusesBadChecksumAndOversizedRequests)
{
    sim::SimulatedConverter c;
    Bytes bad = RequestFrame(P::Filter, {7});
    bad.back() ^= 0x01;
    EXPECT_EQ(Ask(c, bad), NakFrame);
    EXPECT_EQ(c.model.memory.byte(P::Filter), 0); // not written

    // n = 61 cannot fit a 64-byte buffer: refused at the length byte.
    auto refused = c.receive(Bytes{0x01, 0x39, 61}, 0.0);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].reply.bytes, NakFrame);
    EXPECT_FALSE(c.inFrame());
}

TEST(Framing, QuietLineDropsAPartialFrame)
{
    sim::SimulatedConverter c = WithFilter(3);
    EXPECT_TRUE(c.receive(Bytes{0x01, 0x3E, 0x01}, 0.0).empty());
    EXPECT_EQ(c.quiet(), (Bytes{0x01, 0x3E, 0x01}));
    EXPECT_FALSE(c.inFrame());
    EXPECT_EQ(Ask(c, ReadFilter), Ack({3})); // the next request is not confused
}

TEST(Faults, EachBendsTheReplyAsDocumented)
{
    const Bytes good = Ack({4});
    struct Case {
        Fault fault;
        Bytes expected;
    };
    Bytes overlong = Ack(Bytes(62, 0));
    Bytes badSum = good;
    badSum.back() += 1;
    const Case cases[] = {
        {Fault::Silence, {}},
        {Fault::Nak, NakFrame},
        {Fault::Length, Ack({4, 0})},
        {Fault::Overlong, overlong},
        {Fault::Checksum, badSum},
        {Fault::Short, Bytes(good.begin(), good.end() - 1)},
        {Fault::Garbage, {0x00, 0xFF, 0x00, 0x06, 0x01, 0x04, 0xF5}},
        {Fault::Delay, good},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(sim::FaultName(k.fault)));
        sim::SimulatedConverter c = WithFilter(4);
        c.faults.enable(k.fault);
        auto done = c.receive(ReadFilter, 0.0);
        ASSERT_EQ(done.size(), 1u);
        EXPECT_EQ(done[0].reply.bytes, k.expected);
        EXPECT_EQ(done[0].reply.delay.count(), k.fault == Fault::Delay ? 300 : 0);
        EXPECT_EQ(Ask(c, ReadFilter), k.expected); // stays on
        c.faults.disable(k.fault);
        EXPECT_EQ(Ask(c, ReadFilter), good);
    }
}

TEST(Faults, CountsDownAndCanBeLimitedToOneParameter)
{
    sim::SimulatedConverter c = WithFilter(4);
    c.faults.enable(Fault::Nak, 2);
    EXPECT_EQ(Ask(c, ReadFilter), NakFrame);
    EXPECT_EQ(Ask(c, ReadFilter), NakFrame);
    EXPECT_EQ(Ask(c, ReadFilter), Ack({4}));

    c.faults.enable(Fault::Silence, 1, protocol::Code(P::LiveInput));
    EXPECT_EQ(Ask(c, ReadFilter), Ack({4})); // other parameters are untouched and do not count
    EXPECT_TRUE(Ask(c, RequestFrame(P::LiveInput)).empty());
    EXPECT_EQ(Ask(c, RequestFrame(P::LiveInput)).size(), 7u);
}

TEST(Faults, CombineAndClear)
{
    sim::SimulatedConverter c = WithFilter(4);
    c.faults.enable(Fault::Nak);
    c.faults.enable(Fault::Garbage);
    c.faults.enable(Fault::Short);
    EXPECT_EQ(Ask(c, ReadFilter), (Bytes{0x00, 0xFF, 0x00, 0x15}));
    c.faults.clear();
    EXPECT_EQ(Ask(c, ReadFilter), Ack({4}));
    // A write refused by a fault is still stored: the converter got it.
    c.faults.enable(Fault::Silence);
    EXPECT_TRUE(Ask(c, RequestFrame(P::Filter, {8})).empty());
    EXPECT_EQ(c.model.memory.byte(P::Filter), 8);
}

} // namespace
