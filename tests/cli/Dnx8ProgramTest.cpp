// The dnx8 program against dnx8sim on a pseudo-terminal: the frames each
// input kind puts on the wire, usage errors that send nothing, exit codes.
#include "device/Protocol.h"
#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"
#include "tests/cli/ProgramRun_posix.h"
#include "tests/simulator/SimProcess_posix.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using P = protocol::Parameter;
using Frame = std::vector<std::uint8_t>;

namespace {

// A request frame as the window's link sends it.
Frame Request(P parameter, std::vector<std::uint8_t> data = {})
{
    Frame frame = {protocol::Start, protocol::Code(parameter), static_cast<std::uint8_t>(data.size())};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(protocol::Checksum(frame.data(), frame.size()));
    return frame;
}

std::vector<std::uint8_t> Real(float value)
{
    std::vector<std::uint8_t> bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

std::vector<std::uint8_t> Reals(const std::array<float, 10>& values)
{
    std::vector<std::uint8_t> bytes;
    for (float v : values) {
        auto b = Real(v);
        bytes.insert(bytes.end(), b.begin(), b.end());
    }
    return bytes;
}

const Frame Commit = Request(P::Commit, {0});

class Dnx8Test : public ::testing::Test {
protected:
    Dnx8Test() : dir(fs::temp_directory_path() / ("dnx8-cli-" + std::to_string(::getpid())))
    {
        fs::create_directories(dir);
    }
    ~Dnx8Test() override { fs::remove_all(dir); }

    // Starts dnx8sim with a trace; extra arguments after the preset.
    void startSimulator(const std::string& preset, std::vector<std::string> extra = {})
    {
        std::vector<std::string> args = {"--preset", preset, "--trace", trace(), "--link", port()};
        args.insert(args.end(), extra.begin(), extra.end());
        sim = std::make_unique<SimProcess>(args);
        ASSERT_TRUE(sim->started());
    }

    std::string port() const { return (dir / "port").string(); }
    std::string trace() const { return (dir / "trace").string(); }
    std::string file(const std::string& name, const std::string& text) const
    {
        std::ofstream(dir / name) << text;
        return (dir / name).string();
    }

    // The requests after the identification, up to and with the first
    // Commit; `from` skips the requests of earlier runs.
    std::vector<Frame> sequence(std::size_t from = 0) const
    {
        std::vector<Frame> all = TracedRequests(trace());
        std::vector<Frame> sent;
        for (std::size_t i = from + 1; i < all.size(); ++i) {
            sent.push_back(all[i]);
            if (all[i] == Commit)
                break;
        }
        return sent;
    }

    fs::path dir;
    std::unique_ptr<SimProcess> sim;
};

TEST_F(Dnx8Test, EachInputKindSendsTheDialogsSequence)
{
    startSimulator("voltage");
    const std::string spline = file("spline.txt", "; x y\n0 0\n10 20\n20 30\n");
    const RtdCatalog rtds;
    const ThermocoupleCatalog thermocouples;
    const RtdCurve* pt100 = rtds.At(0);
    const ThermocoupleCurve* k = thermocouples.At(3);
    auto piece = [&](std::uint8_t index, const EmfRange& range) {
        const auto image = range.wireImage();
        std::vector<std::uint8_t> data{index};
        data.insert(data.end(), image.begin(), image.end());
        return Request(P::EmfRange, data);
    };
    auto segment = [](std::uint8_t index, float a0, float a1, float x0) {
        std::vector<std::uint8_t> data{index};
        for (float v : {a0, a1, 0.0f, 0.0f, x0}) {
            auto b = Real(v);
            data.insert(data.end(), b.begin(), b.end());
        }
        return Request(P::Segment, data);
    };
    struct Case {
        std::vector<std::string> args;
        std::vector<Frame> frames;
    };
    const Case cases[] = {
        {{"voltage", "--variant", "1V", "--divider", "2.5", "--range", "0", "1"},
         {Request(P::InputType, {1}), Request(P::Divider, Real(2.5f)), Request(P::RangeMin, Real(0.0f)),
          Request(P::RangeMax, Real(1.0f)), Request(P::SegmentCount, {0}), Request(P::CurveDegree, {0}),
          Commit}},
        // The shunt not given: the value the converter holds is written back.
        {{"current", "--variant", "shunt", "--keep-linearization"},
         {Request(P::Shunt), Request(P::InputType, {3}), Request(P::Shunt, Real(1.0f)), Commit}},
        {{"resistance", "--wiring", "3", "--linearization", spline, "--spline"},
         {Request(P::InputType, {7}), Request(P::RangeMin, Real(0.0f)), Request(P::RangeMax, Real(20.0f)),
          segment(0, 0, 2, 0), segment(1, 20, 1, 10), Request(P::SegmentCount, {2}),
          Request(P::CurveDegree, {0}), Commit}},
        {{"potentiometer", "--mode", "relative", "--wiring", "4", "--range", "-5", "5.5"},
         {Request(P::InputType, {12}), Request(P::RangeMin, Real(-5.0f)), Request(P::RangeMax, Real(5.5f)),
          Request(P::SegmentCount, {0}), Request(P::CurveDegree, {0}), Commit}},
        {{"rtd", "--sensor", "pt100", "--wiring", "3"},
         {Request(P::InputType, {7}), Request(P::RangeMin, Real(pt100->ResistanceAt(-200.0f))),
          Request(P::RangeMax, Real(pt100->ResistanceAt(850.0f))),
          Request(P::CurveCoefficients, Reals(pt100->polynomial())), Request(P::CurveDegree, {5}),
          Request(P::SegmentCount, {0}), Commit}},
        {{"thermocouple", "--type", "K", "--compensation", "2wire"},
         {Request(P::InputType, {14}), Request(P::RangeMin, Real(-5.891f)),
          Request(P::RangeMax, Real(std::bit_cast<float>(0x425B8B44u))), piece(0, k->range(0)),
          piece(1, k->range(1)), piece(2, k->range(2)), piece(3, UnusedEmfRange),
          Request(P::CurveCoefficients, Reals(k->cjPolynomial())), Request(P::CurveDegree, {3}),
          Request(P::SegmentCount, {0}), Commit}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const std::size_t before = TracedRequests(trace()).size();
        std::vector<std::string> args = {"input", port()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProgramRun run = RunDnx8(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(sequence(before), c.frames);
    }
}

TEST_F(Dnx8Test, PolynomialOverwriteSendsTheFitAndTheFilesRange)
{
    startSimulator("current");
    // y = 1 + 2x + 3x^2
    const std::string points = file("quadratic.txt", "0 1\n1 6\n2 17\n3 34\n4 57\n");
    const ProgramRun run =
        RunDnx8({"input", port(), "current", "--variant", "20mA", "--linearization", points, "--order", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<Frame> sent = sequence();
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[0], Request(P::InputType, {4}));
    EXPECT_EQ(sent[1], Request(P::RangeMin, Real(0.0f)));
    EXPECT_EQ(sent[2], Request(P::RangeMax, Real(4.0f)));
    ASSERT_EQ(sent[3].size(), 3u + protocol::CoefficientsSize + 1u);
    EXPECT_EQ(sent[3][1], protocol::Code(P::CurveCoefficients));
    const float expected[] = {1, 2, 3, 0, 0, 0, 0, 0, 0, 0};
    for (std::size_t i = 0; i < 10; ++i) {
        float c = 0;
        std::memcpy(&c, sent[3].data() + 3 + 4 * i, 4);
        EXPECT_NEAR(c, expected[i], 1e-4) << "b" << i;
    }
    EXPECT_EQ(sent[4], Request(P::CurveDegree, {2}));
    EXPECT_EQ(sent[5], Request(P::SegmentCount, {0}));
    EXPECT_EQ(sent[6], Commit);
}

TEST_F(Dnx8Test, BadSettingsAndFilesSendNothing)
{
    startSimulator("voltage");
    const std::string twoPoints = file("two.txt", "0 0\n1 1\n");
    const std::string fourPoints = file("four.txt", "0 0\n1 1\n2 4\n3 9\n");
    const std::string p = port();
    const std::vector<std::vector<std::string>> cases = {
        {"set", p, "filter=31"},
        {"set", p, "filter=5", "relay1=hysteresis,80,2,75,70000"},
        {"set", p, "scale-min=12,5"},
        {"set", p, "error-state=sometimes"},
        {"set", p, "colour=red"},
        {"read", p, "--colour"},
        {"watch", p, "--interval", "0,5"},
        {"input", p, "voltage", "--variant", "1V", "--range", "0", "1,5"},
        {"input", p, "voltage", "--variant", "1V"}, // no linearization choice
        {"input", p, "voltage", "--variant", "10V", "--divider", "2", "--keep-linearization"},
        {"input", p, "rtd", "--sensor", "pt200", "--wiring", "3"},
        {"input", p, "resistance", "--wiring", "3", "--linearization", (dir / "missing.txt").string()},
        {"input", p, "resistance", "--wiring", "3", "--linearization", twoPoints},
        {"input", p, "resistance", "--wiring", "3", "--linearization", fourPoints, "--order", "4"},
        {"input", p, "resistance", "--wiring", "3", "--order", "2", "--keep-linearization"},
        {"fit", twoPoints},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0] + " " + args.back());
        const ProgramRun run = RunDnx8(args);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_FALSE(run.err.empty());
        EXPECT_TRUE(TracedRequests(trace()).empty());
    }
}

TEST_F(Dnx8Test, SilentOrForeignConverterFailsWithExitOne)
{
    startSimulator("voltage", {"-c", "fault silence on"});
    ProgramRun run = RunDnx8({"info", port()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_LT(run.elapsed.count(), 2000);
    EXPECT_NE(run.err.find("no converter answers"), std::string::npos) << run.err;
    sim.reset();

    startSimulator("voltage", {"--identity", "DNX7"});
    run = RunDnx8({"set", port(), "filter=3"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("DNX7"), std::string::npos) << run.err;
    EXPECT_EQ(TracedRequests(trace()).size(), 1u); // the identification only

    run = RunDnx8({"read", "/dev/nonexistent-dnx8-port"});
    EXPECT_EQ(run.exitCode, 1);
}

TEST_F(Dnx8Test, SetWritesInOrderAndReadJsonShowsTheResult)
{
    startSimulator("pt100");
    ProgramRun run = RunDnx8({"set", port(), "filter=12", "scale-max=150.5", "error-state=over",
                              "relay2=hysteresis,1.5,3,-2.25,65535"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Nadproud"), std::string::npos) << run.out;
    std::vector<Frame> sent = TracedRequests(trace());
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[1], Request(P::Filter, {12}));
    EXPECT_EQ(sent[2], Request(P::ScaleMax, Real(150.5f)));
    EXPECT_EQ(sent[3], Request(P::ErrorSignalling, {2}));
    EXPECT_EQ(sent[4][1], protocol::Code(P::Relay2));

    run = RunDnx8({"read", port(), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["identity"], "DNX8");
    EXPECT_EQ(json["firmware"], "1.05");
    EXPECT_EQ(json["serialNumber"], 240117);
    EXPECT_EQ(json["input"]["kind"], "Teploměr");
    EXPECT_EQ(json["input"]["sensor"], "Pt 100 (3850)");
    EXPECT_EQ(json["input"]["wiring"], "Třídrát");
    const auto& configuration = json["configuration"];
    EXPECT_EQ(configuration["InputType"], 7);
    EXPECT_EQ(configuration["Filter"], 12);
    EXPECT_EQ(configuration["ScaleMax"].get<float>(), 150.5f);
    EXPECT_EQ(configuration["ErrorSignalling"], 2);
    EXPECT_EQ(configuration["CurveCoefficients"].size(), 10u);
    EXPECT_EQ(configuration["Relay2"]["offValue"].get<float>(), -2.25f);
    EXPECT_EQ(configuration["Relay2"]["offDelay"], 65535);
    EXPECT_EQ(configuration["SegmentCount"], 0);
    EXPECT_TRUE(json["live"]["input"].is_number());
    EXPECT_TRUE(json["failedReads"].empty());
}

TEST_F(Dnx8Test, WatchLogsCsvWithFaultTexts)
{
    startSimulator("voltage", {"-c", "live LiveValue fault"});
    const ProgramRun run = RunDnx8({"watch", port(), "--csv", "--count", "2", "--interval", "0.05"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.out);
    std::string header;
    std::string line;
    std::getline(lines, header);
    EXPECT_EQ(header, "time,input,process,value,ratio_percent");
    int polls = 0;
    while (std::getline(lines, line)) {
        ++polls;
        EXPECT_EQ(line[4], '-');
        EXPECT_EQ(line[10], 'T');
        EXPECT_NE(line.find(",Neplatná,"), std::string::npos) << line;
    }
    EXPECT_EQ(polls, 2);
}

TEST_F(Dnx8Test, FitPrintsTheImportsPolynomial)
{
    const std::string points = file("line.txt", "0 1\n1 3\n2 5\n3 7\n");
    const ProgramRun run = RunDnx8({"fit", points, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["method"], "polynomial");
    EXPECT_EQ(json["degree"], 3); // the preselected order: min(count - 1, 5)
    EXPECT_EQ(json["coefficients"].size(), 10u);
    EXPECT_NEAR(json["coefficients"][1].get<double>(), 2.0, 1e-4);
    EXPECT_EQ(json["min"], 0.0);
    EXPECT_EQ(json["max"], 3.0);
    EXPECT_EQ(json["points"], 4);
}

TEST_F(Dnx8Test, OutputFilesAppearWholeOrNotAtAll)
{
    const auto contentOf = [](const std::string& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string backup = file("kept.json", "an earlier backup");
    const std::string record = file("kept.html", "an earlier record");

    // A converter that does not answer leaves the files that were there.
    startSimulator("voltage", {"-c", "fault silence on"});
    EXPECT_EQ(RunDnx8({"backup", port(), "-o", backup}).exitCode, 1);
    EXPECT_EQ(RunDnx8({"report", port(), "-o", record}).exitCode, 1);
    EXPECT_EQ(contentOf(backup), "an earlier backup");
    EXPECT_EQ(contentOf(record), "an earlier record");
    sim.reset();

    // A place that cannot be written is refused before anything is sent.
    startSimulator("voltage");
    const std::string nowhere = (dir / "no-such-folder" / "out").string();
    EXPECT_EQ(RunDnx8({"report", port(), "-o", nowhere + ".html"}).exitCode, 2);
    EXPECT_EQ(RunDnx8({"backup", port(), "-o", nowhere + ".json"}).exitCode, 2);
    EXPECT_TRUE(TracedRequests(trace()).empty());
    const std::string points = file("line.txt", "0 1\n1 3\n2 5\n3 7\n");
    EXPECT_EQ(RunDnx8({"fit", points, "--svg", nowhere + ".svg"}).exitCode, 2);

    const ProgramRun run = RunDnx8({"report", port(), "-o", record});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(contentOf(record).rfind("<!DOCTYPE html>", 0), 0u);
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_NE(entry.path().extension(), ".part") << entry.path();
}

} // namespace
