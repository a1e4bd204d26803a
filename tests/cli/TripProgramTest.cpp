// dnx8 where a technician trips: arguments in the wrong place, signals,
// point files with lines the import skips, a clone with unused
// coefficients, broken replies, interrupted writes and a pulled line,
// against dnx8sim on pseudo-terminals.
#include "tests/cli/ProgramRun_posix.h"
#include "tests/simulator/SimProcess_posix.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// A unix-socket control line of dnx8sim that waits for each answer.
class Control {
public:
    explicit Control(const std::string& path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    ~Control()
    {
        if (fd >= 0)
            ::close(fd);
    }
    // The last line of the answer: "ok" or "error: ...".
    std::string ask(const std::string& line)
    {
        const std::string text = line + "\n";
        [[maybe_unused]] ssize_t n = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        std::string current;
        char c = 0;
        while (::recv(fd, &c, 1, 0) == 1) {
            if (c != '\n') {
                current += c;
                continue;
            }
            if (current == "ok" || current.starts_with("error"))
                return current;
            current.clear();
        }
        return "error: control line closed";
    }

private:
    int fd = -1;
};

class TripTest : public ::testing::Test {
protected:
    TripTest() : dir(fs::temp_directory_path() / ("dnx8-trip-" + std::to_string(::getpid())))
    {
        fs::create_directories(dir);
    }
    ~TripTest() override
    {
        sims.clear();
        fs::remove_all(dir);
    }

    // A simulated converter with its trace; name tells the files apart.
    std::string start(const std::string& name, const std::string& preset, std::vector<std::string> commands = {})
    {
        std::vector<std::string> args = {"--preset", preset, "--trace", trace(name), "--link", port(name),
                                         "--control-socket", (dir / (name + ".sock")).string()};
        for (const std::string& c : commands)
            args.insert(args.end(), {"-c", c});
        sims.push_back(std::make_unique<SimProcess>(args));
        EXPECT_TRUE(sims.back()->started());
        return port(name);
    }
    std::string port(const std::string& name) const { return (dir / (name + ".port")).string(); }
    std::string trace(const std::string& name) const { return (dir / (name + ".trace")).string(); }
    std::size_t requests(const std::string& name) const { return TracedRequests(trace(name)).size(); }
    std::string file(const std::string& name, const std::string& text) const
    {
        std::ofstream(dir / name, std::ios::binary) << text;
        return (dir / name).string();
    }

    fs::path dir;
    std::vector<std::unique_ptr<SimProcess>> sims;
};

TEST_F(TripTest, ArgumentsThatAreNotRegularFilesAreRefusedAtOnce)
{
    const std::string p = start("a", "pt100");
    ASSERT_EQ(RunDnx8({"backup", p, "-o", (dir / "pump3.json").string()}).exitCode, 0);
    const std::string backup = (dir / "pump3.json").string();
    const std::size_t before = requests("a");
    const std::string fifo = (dir / "pipe").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string points = (dir / "points.txt").string();
    fs::create_directory(points);

    struct Case {
        std::vector<std::string> args;
        std::string order;
    };
    const Case cases[] = {
        {{"restore", backup, p}, "dnx8 restore PORT FILE"},
        {{"restore", p, fifo}, "dnx8 restore PORT FILE"},
        {{"diff", fifo, backup}, "dnx8 diff PORT FILE"},
        {{"fit", points}, "not a point file"},
        {{"input", p, "resistance", "--wiring", "3", "--linearization", fifo}, "not a point file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args.back());
        const ProgramRun run = RunDnx8(c.args, 5s);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_TRUE(Contains(run.err, c.order)) << run.err;
    }
    EXPECT_EQ(requests("a"), before); // nothing went to the converter
}

TEST_F(TripTest, DiffComparesTwoConverters)
{
    const std::string a = start("a", "pt100");
    const std::string b = start("b", "pt100", {"set Filter 7"});
    ProgramRun run = RunDnx8({"diff", a, b}, 20s);
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_TRUE(Contains(run.out, "Filter")) << run.out;
    EXPECT_TRUE(Contains(run.out, "1 parameter differs.")) << run.out;

    // A backup file first and the port second compares as well, instead of
    // reading the port as a file.
    const std::string backup = (dir / "a.json").string();
    ASSERT_EQ(RunDnx8({"backup", a, "-o", backup, "--note", "pump 3, hall B"}).exitCode, 0);
    run = RunDnx8({"diff", backup, a}, 20s);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "pump 3, hall B")) << run.out; // shown, not counted
}

TEST_F(TripTest, TyposAndDryRunsSendNothing)
{
    const std::string p = start("a", "voltage");
    ProgramRun run = RunDnx8({"raed", p});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Contains(run.err, "Did you mean read")) << run.err;
    EXPECT_TRUE(Contains(run.err, "Nothing was sent.")) << run.err;
    run = RunDnx8({"watch", p, "--intervall", "2"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Contains(run.err, "Did you mean --interval")) << run.err;
    EXPECT_EQ(RunDnx8({"help", "read"}).exitCode, 0);
    run = RunDnx8({"input", "voltage", "--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(Contains(run.out, "--variant")) << run.out;
    EXPECT_TRUE(Contains(run.out, "Usage: dnx8 input PORT voltage")) << run.out;
    run = RunDnx8({"set", p, "scale-min=1e39"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Contains(run.err, "outside the range")) << run.err;
    EXPECT_EQ(RunDnx8({"input", p, "current", "--variant", "shunt", "--shunt", "0", "--keep-linearization"})
                  .exitCode,
              2);

    run = RunDnx8({"set", p, "error-state=3", "relay1=Hysteresis,1,0,0,0", "--dry-run"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "ErrorSignalling   01 40 01 03")) << run.out;
    EXPECT_TRUE(Contains(run.out, "nothing was sent")) << run.out;
    run = RunDnx8({"input", p, "thermocouple", "--type", "k", "--compensation", "internal", "--dry-run"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "Commit")) << run.out;
    EXPECT_EQ(requests("a"), 0u);
}

TEST_F(TripTest, JsonCarriesValuesExactly)
{
    const std::string p = start("a", "voltage");
    ProgramRun run = RunDnx8({"set", p, "scale-min=0.001", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["echoes"][0]["parameter"], "ScaleMin");
    EXPECT_EQ(json["echoes"][0]["held"].get<float>(), 0.001f);
    EXPECT_EQ(json["complete"], true);

    run = RunDnx8({"watch", p, "--json", "--count", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    json = nlohmann::json::parse(run.out);
    EXPECT_TRUE(json["input"].is_number()) << run.out;
    EXPECT_TRUE(json["time"].is_string()) << run.out;

    const std::string backup = (dir / "a.json").string();
    ASSERT_EQ(RunDnx8({"backup", p, "-o", backup}).exitCode, 0);
    ASSERT_EQ(RunDnx8({"set", p, "scale-max=123.456"}).exitCode, 0);
    run = RunDnx8({"diff", p, backup, "--json"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["equal"], false);
    ASSERT_EQ(json["differences"].size(), 1u);
    EXPECT_EQ(json["differences"][0]["left"], "123.456");
}

TEST_F(TripTest, ReportWarnsWhenTheConverterHoldsAnotherFit)
{
    const std::string p = start("a", "voltage");
    const std::string points = file("q.txt", "0 1\n1 6\n2 17\n3 34\n4 57\n");
    const std::string page = (dir / "record.html").string();
    ProgramRun run = RunDnx8({"report", p, "-o", page, "--linearization", points, "--order", "2"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_TRUE(Contains(run.err, "another linearization")) << run.err;
    EXPECT_TRUE(fs::exists(page)); // written all the same, with its warning

    ASSERT_EQ(RunDnx8({"input", p, "voltage", "--variant", "10V", "--linearization", points, "--order", "2"})
                  .exitCode,
              0);
    run = RunDnx8({"report", p, "-o", page, "--linearization", points, "--order", "2"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

TEST_F(TripTest, SigtermEndsAWatchPromptlyWith143)
{
    const std::string p = start("a", "voltage");
    auto stopped = std::chrono::steady_clock::time_point{};
    const ProgramRun run = RunDnx8({"watch", p, "--interval", "3600"}, 20s, [&](pid_t pid) {
        // The first poll is on the line: dnx8 now waits an hour for the next.
        if (requests("a") < 5)
            return false;
        stopped = std::chrono::steady_clock::now();
        ::kill(pid, SIGTERM);
        return true;
    });
    EXPECT_EQ(run.exitCode, 143) << run.err;
    EXPECT_TRUE(Contains(run.err, "SIGTERM")) << run.err;
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, 5s);
}

TEST_F(TripTest, SkippedPointLinesAreToldAndStrictRefusesThem)
{
    const std::string points = file("czech.txt", "\xEF\xBB\xBF"
                                                 "0 0\n; comment\n1 1\n2,5 6,25\nx y\n3 9\n4 16\n4 17\n");
    ProgramRun run = RunDnx8({"fit", points, "--json", "--order", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "czech.txt:1: skipped: starts with a UTF-8 byte-order mark")) << run.err;
    EXPECT_TRUE(Contains(run.err, "czech.txt:4: skipped: decimal comma")) << run.err;
    EXPECT_TRUE(Contains(run.err, "czech.txt:5: skipped: the first field is not a number")) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["points"], 4); // the window's rules: the same points
    EXPECT_EQ(json["byteOrderMark"], true);
    ASSERT_EQ(json["skippedLines"].size(), 3u);
    EXPECT_EQ(json["skippedLines"][1]["line"], 4);

    run = RunDnx8({"fit", points, "--spline"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "drops 1 later point at an x given before (x: 4)")) << run.err;

    const std::string p = start("a", "voltage");
    run = RunDnx8({"input", p, "resistance", "--wiring", "3", "--linearization", points, "--strict"});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(Contains(run.err, "--strict refuses it")) << run.err;
    EXPECT_EQ(requests("a"), 0u);
    EXPECT_EQ(RunDnx8({"fit", points, "--report", "--json", "--strict"}).exitCode, 2);
}

TEST_F(TripTest, UnusedCoefficientsDoNotSpoilAClone)
{
    // A voltage input over a thermometer's polynomial: degree 0 leaves the
    // coefficients in place, unused.
    const std::string source = start("a", "pt100");
    ASSERT_EQ(RunDnx8({"input", source, "voltage", "--variant", "1V", "--divider", "1", "--range", "0", "1"})
                  .exitCode,
              0);
    const std::string backup = (dir / "voltage.json").string();
    ASSERT_EQ(RunDnx8({"backup", source, "-o", backup}).exitCode, 0);

    const std::string target = start("b", "fresh");
    ProgramRun run = RunDnx8({"restore", target, backup});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "equal")) << run.out;
    run = RunDnx8({"diff", target, backup});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(Contains(run.out, "CurveCoefficients[0]")) << run.out;
    EXPECT_TRUE(Contains(run.out, "unused")) << run.out;
    EXPECT_TRUE(Contains(run.out, "The configurations are equal.")) << run.out;
}

TEST_F(TripTest, SilenceBrokenRepliesAndNakAreToldApart)
{
    struct Case {
        std::string fault;
        std::string said;
    };
    const Case cases[] = {
        {"fault silence on", "no converter answers"},
        {"fault short on", "replies come broken"},
        {"fault checksum on", "replies come broken"},
        {"fault nak on", "refuses the request (NAK)"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        const std::string p = start("s" + std::to_string(n++), "voltage", {c.fault});
        const ProgramRun run = RunDnx8({"info", p}, 10s);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(Contains(run.err, c.said)) << run.err;
    }
    const std::string regular = file("not-a-port", "text");
    ProgramRun run = RunDnx8({"read", regular});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "not a terminal device")) << run.err;
    EXPECT_TRUE(Contains(run.err, "dnx8 doctor " + regular)) << run.err;
    run = RunDnx8({"read", (dir / "no-such-port").string()});
    EXPECT_TRUE(Contains(run.err, "no such device")) << run.err;
}

TEST_F(TripTest, InterruptedWritesAreToldTruthfully)
{
    const std::string p = start("a", "voltage", {"fault silence on ScaleMax"});
    ProgramRun run = RunDnx8({"set", p, "filter=5", "scale-max=10", "error-state=over"}, 20s);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "confirmed: filter=5")) << run.err;
    EXPECT_TRUE(Contains(run.err, "not confirmed (sent, no proper echo; the converter may or may not hold it): "
                                  "scale-max=10"))
        << run.err;
    EXPECT_TRUE(Contains(run.err, "never sent: error-state=over")) << run.err;
    EXPECT_TRUE(Contains(run.err, "dnx8 set " + p + " scale-max=10 error-state=over")) << run.err;

    // Restore alike: the input's sequence runs to its Commit, then nothing more.
    const std::string source = start("b", "pt100");
    const std::string backup = (dir / "pt100.json").string();
    ASSERT_EQ(RunDnx8({"backup", source, "-o", backup}).exitCode, 0);
    const std::string target = start("c", "fresh", {"fault nak on RangeMax"});
    run = RunDnx8({"restore", target, backup}, 20s);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "refused by the converter (NAK): RangeMax")) << run.err;
    EXPECT_TRUE(Contains(run.err, "never sent: Filter, ScaleMin, ScaleMax, ErrorSignalling, Relay1, Relay2"))
        << run.err;
    EXPECT_TRUE(Contains(run.err, "half configured; to finish the job run: dnx8 restore " + target)) << run.err;
}

TEST_F(TripTest, WatchReopensAPulledLineAndKeepsPolling)
{
    const std::string p = start("a", "voltage");
    Control control((dir / "a.sock").string());
    int phase = 0;
    const ProgramRun run = RunDnx8({"watch", p, "--csv", "--interval", "0.1", "--count", "60"}, 40s, [&](pid_t) {
        if (phase == 0 && requests("a") >= 9) { // two polls on the line
            EXPECT_EQ(control.ask("line close"), "ok");
            EXPECT_EQ(control.ask("line open"), "ok");
            phase = 1;
        }
        return phase == 1;
    });
    EXPECT_EQ(run.exitCode, 1) << run.err; // the polls while the line was away
    EXPECT_TRUE(Contains(run.err, "dropped")) << run.err;
    EXPECT_TRUE(Contains(run.err, "is back.")) << run.err;
    // The last poll read every value again.
    const std::string last = run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1);
    EXPECT_FALSE(Contains(last, ",,")) << last;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 61);
}

} // namespace
