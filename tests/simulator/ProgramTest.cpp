#include "SimProcess_posix.h"
#include "SimTestSupport.h"

#include "dnx8_version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <fstream>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using namespace std::chrono;
using P = protocol::Parameter;

std::string Scratch(const std::string& name)
{
    return testing::TempDir() + "dnx8sim_" + std::to_string(::getpid()) + "_" + name;
}

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The trace without its timestamps: "request 01 3E ..." per line.
std::vector<std::string> TraceEntries(const std::string& path)
{
    std::ifstream file(path);
    std::vector<std::string> entries;
    std::string line;
    double last = 0.0;
    while (std::getline(file, line)) {
        const std::size_t space = line.find(' ');
        const double stamp = std::stod(line.substr(0, space));
        EXPECT_GE(stamp, last);
        last = stamp;
        entries.push_back(line.substr(space + 1));
    }
    return entries;
}

std::string Hex(const Bytes& bytes)
{
    std::string text;
    char digits[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, text.empty() ? "%02X" : " %02X", b);
        text += digits;
    }
    return text;
}

// A unix-socket control client that waits for each answer.
class ControlClient {
public:
    explicit ControlClient(const std::string& path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~ControlClient()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool connected() const { return fd_ >= 0; }

    // Every line of the answer, the final "ok" or "error: ..." included.
    std::vector<std::string> ask(const std::string& line)
    {
        const std::string text = line + "\n";
        [[maybe_unused]] ssize_t n = ::send(fd_, text.data(), text.size(), MSG_NOSIGNAL);
        std::vector<std::string> lines;
        std::string current;
        char c = 0;
        while (::recv(fd_, &c, 1, 0) == 1) {
            if (c != '\n') {
                current += c;
                continue;
            }
            lines.push_back(current);
            if (current == "ok" || current.starts_with("error"))
                break;
            current.clear();
        }
        return lines;
    }

private:
    int fd_ = -1;
};

TEST(Program, AnswersOnThePseudoTerminalAndTracesExactlyTheFrames)
{
    const std::string trace = Scratch("trace.txt");
    SimProcess sim({"--preset", "fresh", "--trace", trace});
    ASSERT_TRUE(sim.started());
    LineClient line(sim.linePath());
    ASSERT_TRUE(line.isOpen());

    line.send({0x00, 0xFF, 0x01, 0x3E, 0x01, 0x07, 0xB9});
    EXPECT_EQ(line.receive(4), (Bytes{0x06, 0x01, 0x07, 0xF2}));
    line.send({0x01, 0x2C, 0x00, 0xD3});
    EXPECT_EQ(line.receive(4), (Bytes{0x06, 0x01, 0x00, 0xF9}));
    line.send({0x01, 0x2B, 0x01, 0x00, 0xD3});
    EXPECT_EQ(line.receive(3), (Bytes{0x06, 0x00, 0xFA}));
    const Bytes identity = Ack({'D', 'N', 'X', '8', 0, 0, 0, 0});
    line.send(RequestFrame(P::Identity));
    EXPECT_EQ(line.receive(identity.size()), identity);
    line.send({0x01, 0x3E}); // left unfinished
    EXPECT_TRUE(line.receive(1, milliseconds(300)).empty());

    EXPECT_EQ(sim.stop(SIGTERM), 0);
    EXPECT_EQ(TraceEntries(trace), (std::vector<std::string>{
                                       "noise 00 FF",
                                       "request 01 3E 01 07 B9",
                                       "reply 06 01 07 F2",
                                       "request 01 2C 00 D3",
                                       "reply 06 01 00 F9",
                                       "request 01 2B 01 00 D3",
                                       "reply 06 00 FA",
                                       "request " + Hex(RequestFrame(P::Identity)),
                                       "reply " + Hex(identity),
                                       "noise 01 3E",
                                   }));
    std::remove(trace.c_str());
}

TEST(Program, FifoControlLinesApplyToTheNextRequest)
{
    const std::string fifo = Scratch("control.fifo");
    SimProcess sim({"--control", fifo});
    ASSERT_TRUE(sim.started());
    ASSERT_TRUE(Exists(fifo));
    LineClient line(sim.linePath());
    const int control = ::open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(control, 0);
    auto tell = [&](const std::string& text) {
        [[maybe_unused]] ssize_t n = ::write(control, text.data(), text.size());
    };

    tell("set InputType 9\n");
    line.send(RequestFrame(P::InputType));
    EXPECT_EQ(line.receive(4), Ack({9}));

    tell("fault silence on\n");
    line.send(RequestFrame(P::InputType));
    EXPECT_TRUE(line.receive(1, milliseconds(400)).empty());
    tell("fault silence off\nidentity DNX7\n");
    line.send(RequestFrame(P::Identity));
    EXPECT_EQ(line.receive(11), Ack({'D', 'N', 'X', '7', 0, 0, 0, 0}));

    ::close(control);
    EXPECT_EQ(sim.stop(SIGINT), 0);
    EXPECT_FALSE(Exists(fifo)); // made by the simulator, removed by it
}

TEST(Program, SocketControlAnswersDumpsAndQuits)
{
    const std::string socketPath = Scratch("control.sock");
    const std::string link = Scratch("com3");
    SimProcess sim({"--preset", "voltage", "--control-socket", socketPath, "--link", link});
    ASSERT_TRUE(sim.started());
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(sim.linePath(), target);
    LineClient line(link);
    ControlClient control(socketPath);
    ASSERT_TRUE(control.connected());

    EXPECT_EQ(control.ask("live LiveInput fault"), std::vector<std::string>{"ok"});
    line.send(RequestFrame(P::LiveInput));
    EXPECT_EQ(line.receive(7), Ack({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(control.ask("fault overlong once"), std::vector<std::string>{"ok"});
    line.send(RequestFrame(P::Filter));
    EXPECT_EQ(line.receive(65).size(), 65u);

    line.send(RequestFrame(P::Filter, {40}));
    EXPECT_EQ(line.receive(4), Ack({30}));
    const std::vector<std::string> dump = control.ask("dump");
    EXPECT_NE(std::find(dump.begin(), dump.end(), "set Filter 30"), dump.end());
    EXPECT_NE(std::find(dump.begin(), dump.end(), "live LiveInput fault"), dump.end());
    EXPECT_EQ(dump.back(), "ok");
    EXPECT_EQ(control.ask("frobnicate").at(0).rfind("error: ", 0), 0u);

    EXPECT_EQ(control.ask("quit"), std::vector<std::string>{"ok"});
    EXPECT_EQ(sim.wait(seconds(5)), 0);
    EXPECT_FALSE(Exists(link));
    EXPECT_FALSE(Exists(socketPath));
}

std::string LinkTarget(const std::string& link)
{
    char target[256] = {};
    return ::readlink(link.c_str(), target, sizeof target - 1) > 0 ? target : "";
}

TEST(Program, LineClosedAndOpenedAgainAsAPulledAdapter)
{
    const std::string socketPath = Scratch("plug.sock");
    const std::string link = Scratch("plug.com3");
    const std::string trace = Scratch("plug.trace");
    SimProcess sim({"--preset", "voltage", "--control-socket", socketPath, "--link", link, "--trace", trace});
    ASSERT_TRUE(sim.started());
    ControlClient control(socketPath);
    ASSERT_TRUE(control.connected());
    // Held open throughout, as the tool holds its port.
    const int tool = ::open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(tool, 0);
    const Bytes request = RequestFrame(P::Filter);
    ASSERT_EQ(::write(tool, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    pollfd p{tool, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 5000), 1);

    EXPECT_EQ(control.ask("line close"), std::vector<std::string>{"ok"});
    EXPECT_FALSE(Exists(link));
    EXPECT_FALSE(Exists(sim.linePath()));
    EXPECT_EQ(::write(tool, request.data(), request.size()), -1);
    EXPECT_EQ(control.ask("line close"), std::vector<std::string>{"ok"});

    const std::vector<std::string> opened = control.ask("line open");
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], "ok");
    // The old terminal is still held by the tool, so the new one has another path.
    EXPECT_NE(opened[0], sim.linePath());
    EXPECT_EQ(LinkTarget(link), opened[0]);
    EXPECT_EQ(control.ask("line open"), (std::vector<std::string>{opened[0], "ok"}));
    LineClient again(link);
    again.send(request);
    EXPECT_EQ(again.receive(4), Ack({5}));
    ::close(tool);

    EXPECT_EQ(sim.stop(SIGTERM), 0);
    EXPECT_FALSE(Exists(link));
    const std::vector<std::string> entries = TraceEntries(trace);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "request " + Hex(request)), 2);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "reply 06 01 05 F4"), 2);
    std::remove(trace.c_str());
}

TEST(Program, PacesRepliesAndHoldsDelayedOnes)
{
    SimProcess sim({"--baud", "9600", "-c", "fault delay on 300 Filter"});
    ASSERT_TRUE(sim.started());
    LineClient line(sim.linePath());

    // 4 + 43 bytes at 10 bits each are 48.96 ms on a 9600-baud line: the
    // reply cannot be complete any sooner.
    auto start = steady_clock::now();
    line.send(RequestFrame(P::CurveCoefficients));
    EXPECT_EQ(line.receive(43).size(), 43u);
    EXPECT_GE(steady_clock::now() - start, microseconds(48960));

    start = steady_clock::now();
    line.send(RequestFrame(P::Filter));
    EXPECT_EQ(line.receive(4).size(), 4u);
    EXPECT_GE(steady_clock::now() - start, milliseconds(250));
    EXPECT_EQ(sim.stop(SIGTERM), 0);
}

TEST(Program, AnswersOnAnExistingDevice)
{
    // A pseudo-terminal of our own stands in for a serial device; we talk on its master side.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string device = ::ptsname(master);
    const std::string socketPath = Scratch("device.sock");
    SimProcess sim({"--device", device, "--preset", "current", "--control-socket", socketPath});
    ASSERT_TRUE(sim.started());
    EXPECT_EQ(sim.linePath(), device);
    // A device is not the simulator's to pull.
    ControlClient control(socketPath);
    EXPECT_EQ(control.ask("line close").at(0).rfind("error: ", 0), 0u);

    const Bytes request = RequestFrame(P::InputType);
    ASSERT_EQ(::write(master, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    Bytes reply(4);
    std::size_t got = 0;
    pollfd p{master, POLLIN, 0};
    while (got < reply.size() && ::poll(&p, 1, 1000) == 1) {
        const ssize_t n = ::read(master, reply.data() + got, reply.size() - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    EXPECT_EQ(reply, Ack({4}));
    EXPECT_EQ(sim.stop(SIGTERM), 0);
    ::close(master);
}

TEST(Program, RefusesBadStartAndExplainsItself)
{
    SimProcess unknownPreset({"--preset", "nowhere"});
    EXPECT_FALSE(unknownPreset.started());
    EXPECT_EQ(unknownPreset.wait(seconds(5)), 1);
    SimProcess noDevice({"--device", "/nonexistent/tty"});
    EXPECT_EQ(noDevice.wait(seconds(5)), 1);
    SimProcess badCommand({"-c", "set Filter lots"});
    EXPECT_EQ(badCommand.wait(seconds(5)), 1);

    // A --link path that names a file (or a device) is left as it is.
    const std::string file = "/tmp/dnx8sim-link-" + std::to_string(::getpid());
    std::ofstream(file) << "kept\n";
    SimProcess linkOnFile({"--link", file});
    EXPECT_EQ(linkOnFile.wait(seconds(5)), 1);
    std::ifstream kept(file);
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "kept");
    std::remove(file.c_str());
}

TEST(Program, TellsItsVersionWithoutOpeningALine)
{
    // The one line of output stands where the line's path would.
    SimProcess version({"--version", "--device", "/nonexistent/tty"});
    EXPECT_EQ(version.linePath(), "dnx8sim " DNX8_VERSION_TEXT);
    EXPECT_EQ(version.wait(seconds(5)), 0);
}

} // namespace
