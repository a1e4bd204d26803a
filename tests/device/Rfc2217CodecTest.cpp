#include "device/Rfc2217Codec.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace {

using C = Rfc2217Codec;
using Bytes = std::vector<std::uint8_t>;

struct Received {
    Bytes data;
    Bytes replies;
};

Received feed(C& codec, const Bytes& bytes, std::size_t chunk = 1000)
{
    std::deque<std::uint8_t> data;
    Received r;
    for (std::size_t at = 0; at < bytes.size(); at += chunk)
        codec.receive(bytes.data() + at, std::min(chunk, bytes.size() - at), data, r.replies);
    r.data.assign(data.begin(), data.end());
    return r;
}

TEST(Rfc2217Codec, DataIsEscapedAndUnescapedWhereverTheChunksEnd)
{
    // A frame with 0xFF in it, as a checksum or a float can have.
    const Bytes frame{0x01, 0xFF, 0x02, 0xFF, 0xFF, 0x00};
    Bytes wire;
    C::escape(frame.data(), frame.size(), wire);
    EXPECT_EQ(wire, (Bytes{0x01, 0xFF, 0xFF, 0x02, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}));
    for (std::size_t chunk : {1u, 2u, 3u, 100u}) {
        C codec;
        const Received r = feed(codec, wire, chunk);
        EXPECT_EQ(r.data, frame) << chunk;
        EXPECT_TRUE(r.replies.empty());
    }
}

TEST(Rfc2217Codec, CommandsAreTakenOutOfTheDataAndAnsweredOnlyOnChange)
{
    C codec;
    const Bytes wire{0x06, C::Iac, C::Will, C::OptionEcho,       // refused: an echo would come back as replies
                     0x01, C::Iac, C::Do, C::OptionComPort,       // asked for in the greeting: no answer
                     C::Iac, C::Will, C::OptionBinary,            // asked for: no answer
                     C::Iac, C::Do, 24,                           // terminal type: refused
                     C::Iac, 0xF1,                                // NOP
                     0x07};
    const Received r = feed(codec, wire, 2);
    EXPECT_EQ(r.data, (Bytes{0x06, 0x01, 0x07}));
    EXPECT_EQ(r.replies, (Bytes{C::Iac, C::Dont, C::OptionEcho, C::Iac, C::Wont, 24}));
    EXPECT_TRUE(codec.comPortAccepted());
    EXPECT_FALSE(codec.comPortRefused());

    // Agreements repeated change nothing and get no answer: no loops.
    const Received again = feed(codec, {C::Iac, C::Will, C::OptionBinary, C::Iac, C::Do, C::OptionComPort});
    EXPECT_TRUE(again.replies.empty());
}

TEST(Rfc2217Codec, AServerThatRefusesComPortControlIsNoticed)
{
    C codec;
    feed(codec, {C::Iac, C::Dont, C::OptionComPort});
    EXPECT_TRUE(codec.comPortRefused());
    EXPECT_FALSE(codec.comPortAccepted());
}

TEST(Rfc2217Codec, ComPortCommandsAndTheServersAnswers)
{
    EXPECT_EQ(C::comPortCommand(C::SetBaudRate, C::baudRateValue(9600)),
              (Bytes{C::Iac, C::Sb, 44, 1, 0x00, 0x00, 0x25, 0x80, C::Iac, C::Se}));
    // A value byte 0xFF is doubled inside the subnegotiation too.
    EXPECT_EQ(C::comPortCommand(C::SetBaudRate, C::baudRateValue(0xFF)),
              (Bytes{C::Iac, C::Sb, 44, 1, 0, 0, 0, 0xFF, 0xFF, C::Iac, C::Se}));

    C codec;
    const Received r = feed(codec,
                            {C::Iac, C::Sb, 44, 101, 0, 0, 0x4B, 0x00, C::Iac, C::Se,          // 19200
                             C::Iac, C::Sb, 44, 102, 8, C::Iac, C::Se,                         // data size
                             C::Iac, C::Sb, 44, 107, 0x30, C::Iac, C::Se,                      // modem state
                             C::Iac, C::Sb, 44, 105, 1, C::Iac, C::Se,                         // no flow
                             C::Iac, C::Sb, 44, 101, 0, 0, 0x25, 0xFF, 0xFF, C::Iac, C::Se,    // escaped 0xFF
                             0x42},
                            3);
    EXPECT_EQ(r.data, Bytes{0x42});
    ASSERT_NE(codec.answer(C::SetBaudRate), nullptr);
    EXPECT_EQ(*codec.answer(C::SetBaudRate), (Bytes{0, 0, 0x25, 0xFF})); // the last answer counts
    ASSERT_NE(codec.answer(C::SetDataSize), nullptr);
    EXPECT_EQ(*codec.answer(C::SetDataSize), Bytes{8});
    EXPECT_EQ(codec.answer(C::SetParity), nullptr);
    EXPECT_TRUE(codec.answered(C::SetControl, {C::ControlNoFlow}));
    EXPECT_FALSE(codec.answered(C::SetControl, {C::ControlDtrOff}));
}

TEST(Rfc2217Codec, AnOverlongSubnegotiationIsDroppedWithoutLosingTheStream)
{
    C codec;
    Bytes wire{C::Iac, C::Sb, 44, 101};
    wire.insert(wire.end(), 10000, 0x11);
    wire.insert(wire.end(), {C::Iac, C::Se, 0x05});
    const Received r = feed(codec, wire, 7);
    EXPECT_EQ(r.data, Bytes{0x05});
}

} // namespace
