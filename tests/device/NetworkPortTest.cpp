// NetworkPort against small device servers of the test's own on 127.0.0.1:
// each listens on a port the system picks and plays one script.
#include "device/NetworkPort.h"
#include "device/Rfc2217Codec.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using C = Rfc2217Codec;
using Clock = std::chrono::steady_clock;

// A listening socket on a free loopback port; the script runs on its own
// thread with the accepted connection.
class LoopbackServer {
public:
    explicit LoopbackServer(std::function<void(int)> script)
    {
        listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        if (::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener, 1) != 0 ||
            ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &length) != 0)
            ADD_FAILURE() << "cannot listen on the loopback interface";
        port = ntohs(a.sin_port);
        worker = std::thread([this, script = std::move(script)] {
            const int connection = ::accept(listener, nullptr, nullptr);
            if (connection < 0)
                return;
            script(connection);
            ::close(connection);
        });
    }
    ~LoopbackServer()
    {
        ::shutdown(listener, SHUT_RDWR); // wakes accept() when nobody came
        worker.join();
        ::close(listener);
    }
    std::string address(const char* scheme) const { return std::string(scheme) + "://127.0.0.1:" + std::to_string(port); }

    std::uint16_t port = 0;

private:
    int listener = -1;
    std::thread worker;
};

// Reads until `count` bytes came or 5 s passed.
Bytes receiveBytes(int fd, std::size_t count)
{
    Bytes got;
    const auto until = Clock::now() + std::chrono::seconds(5);
    while (got.size() < count && Clock::now() < until) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        std::uint8_t b[256];
        const ssize_t n = ::recv(fd, b, std::min(sizeof b, count - got.size()), 0);
        if (n <= 0)
            break;
        got.insert(got.end(), b, b + n);
    }
    return got;
}

void sendBytes(int fd, const Bytes& bytes)
{
    ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
}

Bytes answerOf(std::uint8_t command, const Bytes& value)
{
    Bytes b = C::comPortCommand(static_cast<std::uint8_t>(command + C::ServerOffset), value);
    return b;
}

// The server half of the setup: take the greeting, agree, answer the four
// line settings with what `baud` says, never answer the modem lines.
void agreeAndConfirm(int fd, std::uint32_t baud)
{
    receiveBytes(fd, C::greeting().size());
    sendBytes(fd, {C::Iac, C::Do, C::OptionComPort, C::Iac, C::Will, C::OptionBinary});
    Bytes settings;
    for (auto [command, value] : std::initializer_list<std::pair<std::uint8_t, Bytes>>{
             {C::SetBaudRate, C::baudRateValue(9600)}, {C::SetDataSize, {8}}, {C::SetParity, {1}}, {C::SetStopSize, {1}},
             {C::SetControl, {1}}, {C::SetControl, {9}}, {C::SetControl, {12}}}) {
        const Bytes b = C::comPortCommand(command, value);
        settings.insert(settings.end(), b.begin(), b.end());
    }
    EXPECT_EQ(receiveBytes(fd, settings.size()), settings);
    Bytes answers = answerOf(C::SetBaudRate, C::baudRateValue(baud));
    for (const Bytes& b : {answerOf(C::SetDataSize, {8}), answerOf(C::SetParity, {1}), answerOf(C::SetStopSize, {1})})
        answers.insert(answers.end(), b.begin(), b.end());
    sendBytes(fd, answers);
}

TEST(NetworkPort, RawTcpCarriesEveryByteBothWays)
{
    const Bytes request{0x01, 0xFF, 0x00, 0x0D, 0x0A, 0xFF};
    LoopbackServer server([&](int fd) {
        EXPECT_EQ(receiveBytes(fd, request.size()), request);
        sendBytes(fd, {0x06, 0xFF, 0xFF});
    });
    NetworkPort port;
    port.timeouts.readTotalTimeoutConstant = 2000;
    ASSERT_TRUE(port.open(server.address("tcp"))) << port.failureText;
    EXPECT_EQ(port.write(request.data(), static_cast<std::int32_t>(request.size())), 6);
    std::uint8_t reply[3] = {};
    EXPECT_EQ(port.read(reply, 3), 3);
    EXPECT_EQ(Bytes(reply, reply + 3), (Bytes{0x06, 0xFF, 0xFF}));
}

TEST(NetworkPort, Rfc2217SetsTheLineAndEscapesTheData)
{
    LoopbackServer server([](int fd) {
        agreeAndConfirm(fd, 9600);
        // 0xFF in a request arrives doubled; a reply's 0xFF goes doubled.
        EXPECT_EQ(receiveBytes(fd, 4), (Bytes{0x01, 0xFF, 0xFF, 0x02}));
        sendBytes(fd, {0x06, C::Iac, C::Iac, C::Iac, 0xF1 /* NOP */, 0x07});
    });
    NetworkPort port;
    port.timeouts.readTotalTimeoutConstant = 2000;
    ASSERT_TRUE(port.open(server.address("rfc2217"))) << port.failureText;
    const Bytes request{0x01, 0xFF, 0x02};
    EXPECT_EQ(port.write(request.data(), 3), 3);
    std::uint8_t reply[3] = {};
    EXPECT_EQ(port.read(reply, 3), 3);
    EXPECT_EQ(Bytes(reply, reply + 3), (Bytes{0x06, 0xFF, 0x07}));
}

TEST(NetworkPort, Rfc2217RefusesAServerThatKeepsAnotherSpeedOrIsSilent)
{
    {
        LoopbackServer server([](int fd) { agreeAndConfirm(fd, 19200); });
        NetworkPort port;
        EXPECT_FALSE(port.open(server.address("rfc2217")));
        EXPECT_EQ(port.failure, NetworkPort::Failure::LineRefused);
        EXPECT_NE(port.failureText.find("speed"), std::string::npos) << port.failureText;
        EXPECT_FALSE(port.isOpen());
    }
    {
        // A raw port given as rfc2217:// never answers the option.
        LoopbackServer server([](int fd) { receiveBytes(fd, 1000); });
        NetworkPort port;
        port.negotiationTimeoutMs = 300;
        EXPECT_FALSE(port.open(server.address("rfc2217")));
        EXPECT_EQ(port.failure, NetworkPort::Failure::NotRfc2217);
        EXPECT_NE(port.failureText.find("tcp://"), std::string::npos) << port.failureText;
    }
}

TEST(NetworkPort, AStopEndsTheWaitForASilentServer)
{
    // Takes the connection and never agrees: without a stop, open() would
    // wait the whole negotiation time.
    LoopbackServer server([](int fd) { receiveBytes(fd, 1000); });
    NetworkPort port;
    port.negotiationTimeoutMs = 20000;
    const auto start = Clock::now();
    port.stopCheck = [start] { return Clock::now() - start > std::chrono::milliseconds(100); };
    EXPECT_FALSE(port.open(server.address("rfc2217")));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(port.failure, NetworkPort::Failure::Other);
    EXPECT_NE(port.failureText.find("stopped"), std::string::npos) << port.failureText;
    EXPECT_FALSE(port.isOpen());
}

TEST(NetworkPort, AServerThatTurnsTheClientAwaySaysWhy)
{
    LoopbackServer server([](int fd) {
        const std::string text = "Port's device already in use\r\n";
        sendBytes(fd, Bytes(text.begin(), text.end()));
    });
    NetworkPort port;
    EXPECT_FALSE(port.open(server.address("rfc2217")));
    EXPECT_EQ(port.failure, NetworkPort::Failure::Dropped);
    EXPECT_NE(port.failureText.find("it said: Port's device already in use"), std::string::npos) << port.failureText;
}

TEST(NetworkPort, ConnectionFailuresAreToldApart)
{
    std::uint16_t closedPort = 0;
    {
        LoopbackServer server([](int) {});
        closedPort = server.port;
    } // nothing listens there any more
    NetworkPort port;
    EXPECT_FALSE(port.open("tcp://127.0.0.1:" + std::to_string(closedPort)));
    EXPECT_EQ(port.failure, NetworkPort::Failure::Refused);
    EXPECT_FALSE(port.open("tcp://no-such-host.invalid:4001"));
    EXPECT_EQ(port.failure, NetworkPort::Failure::NotResolved);
    EXPECT_FALSE(port.open("tcp://127.0.0.1:0"));
    EXPECT_EQ(port.failure, NetworkPort::Failure::BadAddress);
    EXPECT_FALSE(port.open("/dev/ttyS0"));
    EXPECT_EQ(port.failure, NetworkPort::Failure::BadAddress);
}

TEST(NetworkPort, AConnectionThatDropsEndsAReadAtOnce)
{
    LoopbackServer server([](int fd) {
        receiveBytes(fd, 1);
        sendBytes(fd, {0x06});
        // closes here, mid-reply
    });
    NetworkPort port;
    port.timeouts.readTotalTimeoutConstant = 10000;
    ASSERT_TRUE(port.open(server.address("tcp")));
    const std::uint8_t request = 0x01;
    EXPECT_EQ(port.write(&request, 1), 1);
    std::uint8_t reply[4] = {};
    const auto start = Clock::now();
    EXPECT_EQ(port.read(reply, 4), 1); // what came before the drop
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.failure, NetworkPort::Failure::Dropped);
    EXPECT_EQ(port.write(&request, 1), 0);
    EXPECT_EQ(port.read(reply, 1), 0);
}

} // namespace
