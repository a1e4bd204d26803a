// The POSIX serial port and the link over a real pseudo-terminal.
#include "device/ConverterLink.h"
#include "device/SerialPort.h"
#include "tests/device/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using Bytes = PseudoTerminal::Bytes;
using Clock = std::chrono::steady_clock;

long MillisecondsSince(Clock::time_point start)
{
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// A port set up as the link sets it up.
std::unique_ptr<SerialPort> ConverterPort()
{
    auto port = std::make_unique<SerialPort>();
    port->timeouts.readTotalTimeoutConstant = 200;
    port->timeouts.writeTotalTimeoutConstant = 100;
    return port;
}

void Pause()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

TEST(PosixSerialPort, ReadWaitsAboutTwoHundredMillisecondsForMissingBytes)
{
    PseudoTerminal line;
    auto port = ConverterPort();
    ASSERT_TRUE(port->open(line.slavePath()));
    std::uint8_t buffer[8] = {};

    auto start = Clock::now();
    EXPECT_EQ(port->read(buffer, 4), 0);
    EXPECT_GE(MillisecondsSince(start), 150);
    EXPECT_LT(MillisecondsSince(start), 1000);

    line.send({0x06, 0x01});
    start = Clock::now();
    EXPECT_EQ(port->read(buffer, 4), 2);
    EXPECT_GE(MillisecondsSince(start), 150);
    EXPECT_EQ(buffer[0], 0x06);

    line.send({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(port->read(buffer, 4), 4);
    EXPECT_EQ(port->read(buffer, 4), 2);
    EXPECT_EQ(buffer[1], 6);
}

TEST(PosixSerialPort, LineIsRawBothWays)
{
    PseudoTerminal line;
    auto port = ConverterPort();
    ASSERT_TRUE(port->open(line.slavePath()));
    // Bytes a terminal would translate or act on: CR, LF, ^C, XON, XOFF, ^D, DEL.
    const Bytes special = {0x0D, 0x0A, 0x03, 0x11, 0x13, 0x04, 0x7F, 0xFF, 0x00};
    EXPECT_EQ(port->write(special.data(), static_cast<std::int32_t>(special.size())),
              static_cast<std::int32_t>(special.size()));
    EXPECT_EQ(line.receive(special.size() + 1, 300), special);

    line.send(special);
    Bytes got(special.size() + 1);
    EXPECT_EQ(port->read(got.data(), static_cast<std::int32_t>(got.size())),
              static_cast<std::int32_t>(special.size()));
    got.resize(special.size());
    EXPECT_EQ(got, special);
}

// A pseudo-terminal has no modem lines: clearing DTR and RTS fails there and
// must not keep the port from working. Where the line has them, both are low.
TEST(PosixSerialPort, DtrAndRtsAreLowWhereTheLineHasThem)
{
    PseudoTerminal line;
    auto port = ConverterPort();
    ASSERT_TRUE(port->open(line.slavePath()));
    int lines = 0;
    if (::ioctl(static_cast<int>(port->handle), TIOCMGET, &lines) == 0) {
        EXPECT_EQ(lines & (TIOCM_DTR | TIOCM_RTS), 0);
    }
    const Bytes request = {0x01, 0x21, 0x00, 0xDE};
    EXPECT_EQ(port->write(request.data(), 4), 4);
    EXPECT_EQ(line.receive(4, 300), request);
}

TEST(PosixSerialPort, PurgeDiscardsPendingInput)
{
    PseudoTerminal line;
    auto port = ConverterPort();
    ASSERT_TRUE(port->open(line.slavePath()));
    line.send({1, 2, 3});
    Pause();
    port->purge(SerialPort::PurgeRxClear);
    std::uint8_t buffer[4];
    EXPECT_EQ(port->read(buffer, 4), 0);
}

TEST(PosixSerialPort, CloseRestoresTheLineSettingsFoundAtOpen)
{
    PseudoTerminal line;
    const int observer = ::open(line.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(observer, 0);
    termios before{};
    ASSERT_EQ(::tcgetattr(observer, &before), 0);
    before.c_lflag |= ICANON | ECHO;
    ::cfsetospeed(&before, B4800);
    ::cfsetispeed(&before, B4800);
    ASSERT_EQ(::tcsetattr(observer, TCSANOW, &before), 0);
    ASSERT_EQ(::tcgetattr(observer, &before), 0);

    {
        auto port = ConverterPort();
        ASSERT_TRUE(port->open(line.slavePath()));
        termios during{};
        ASSERT_EQ(::tcgetattr(observer, &during), 0);
        EXPECT_EQ(::cfgetospeed(&during), B9600);
        EXPECT_EQ(during.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ(during.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
        EXPECT_EQ(during.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(during.c_iflag & (IXON | IXOFF), 0u);
        // Destruction closes the port.
    }
    termios after{};
    ASSERT_EQ(::tcgetattr(observer, &after), 0);
    EXPECT_EQ(::cfgetospeed(&after), B4800);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    ::close(observer);
}

TEST(PosixSerialPort, OpenIsExclusiveAndReopeningReleasesThePreviousPort)
{
    PseudoTerminal first;
    PseudoTerminal second;
    SerialPort a;
    SerialPort b;
    ASSERT_TRUE(a.open(first.slavePath()));
    EXPECT_FALSE(b.open(first.slavePath()));
    EXPECT_FALSE(b.isOpen());

    ASSERT_TRUE(a.open(second.slavePath()));
    EXPECT_TRUE(b.open(first.slavePath()));
    EXPECT_FALSE(b.open(second.slavePath()));
    EXPECT_FALSE(b.isOpen()); // the failed open closed the first one too

    a.close();
    a.close();
    EXPECT_FALSE(a.isOpen());
    EXPECT_TRUE(b.open(second.slavePath()));
}

TEST(PosixSerialPort, OnlyExistingTerminalsOpen)
{
    SerialPort port;
    EXPECT_FALSE(port.open("/dev/nonexistent-dnx8-port"));
    char file[] = "/tmp/dnx8-not-a-port-XXXXXX";
    const int fd = ::mkstemp(file);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_FALSE(port.open(file));
    std::remove(file);

    std::uint8_t byte = 7;
    EXPECT_EQ(port.read(&byte, 1), 0);
    EXPECT_EQ(port.write(&byte, 1), 0);
    port.purge(15);
    EXPECT_EQ(byte, 7);
}

Bytes Reply(const Bytes& data)
{
    Bytes frame{protocol::Ack, static_cast<std::uint8_t>(data.size())};
    for (std::uint8_t b : data)
        frame.push_back(b);
    frame.push_back(protocol::Checksum(frame.data(), frame.size()));
    return frame;
}

TEST(LinkOverPseudoTerminal, TransactionsRoundTrip)
{
    PseudoTerminal line;
    std::uint8_t stored = 0;
    ConverterPeer peer(line, [&](std::uint8_t command, const Bytes& data) -> std::optional<Bytes> {
        if (command == protocol::Code(protocol::Parameter::Identity))
            return Reply({'D', 'N', 'X', '8', 0, 0, 0, 0});
        if (command == protocol::Code(protocol::Parameter::ErrorSignalling)) {
            if (data.size() == 1)
                stored = data[0] > 3 ? 3 : data[0]; // clip like the converter
            return Reply({stored});
        }
        return Bytes{protocol::Nak, protocol::NakChecksum};
    });

    ConverterLink link;
    ASSERT_TRUE(link.open(line.slavePath()));
    EXPECT_EQ(link.identify(), "DNX8");
    std::uint8_t code = 9;
    ASSERT_TRUE(link.writeErrorSignalling(code));
    EXPECT_EQ(code, 3);
    code = 0;
    ASSERT_TRUE(link.readErrorSignalling(code));
    EXPECT_EQ(code, 3);
    float value = 1.0f;
    EXPECT_FALSE(link.readLiveInput(value)); // NAK
    EXPECT_EQ(value, 1.0f);
}

TEST(LinkOverPseudoTerminal, SilentConverterFailsWithinASecond)
{
    PseudoTerminal line;
    ConverterLink link;
    ASSERT_TRUE(link.open(line.slavePath()));
    const auto start = Clock::now();
    std::uint8_t value = 5;
    EXPECT_FALSE(link.readFilter(value));
    EXPECT_LT(MillisecondsSince(start), 1000);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(line.receive(4, 300), (Bytes{0x01, 0x3E, 0x00, 0xC1}));
}

TEST(LinkOverPseudoTerminal, BrokenReplyIsPurgedAndTheNextTransactionWorks)
{
    PseudoTerminal line;
    int requests = 0;
    ConverterPeer peer(line, [&](std::uint8_t, const Bytes&) -> std::optional<Bytes> {
        if (++requests == 1) {
            // A bad checksum, then junk that would spoil the next reply.
            return Bytes{0x06, 0x01, 0x07, 0x00, 0x06, 0x01, 0x09, 0xF0};
        }
        return Reply({requests == 2 ? std::uint8_t{4} : std::uint8_t{0}});
    });
    ConverterLink link;
    ASSERT_TRUE(link.open(line.slavePath()));
    std::uint8_t value = 0;
    EXPECT_FALSE(link.readFilter(value));
    ASSERT_TRUE(link.readFilter(value));
    EXPECT_EQ(value, 4);
}

} // namespace
