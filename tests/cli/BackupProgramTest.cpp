// dnx8 backup, restore and diff against dnx8sim on pseudo-terminals.
#include "device/Protocol.h"
#include "inputs/ThermocoupleCatalog.h"
#include "tests/cli/ProgramRun_posix.h"
#include "tests/simulator/SimProcess_posix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;
using P = protocol::Parameter;

namespace {

class BackupTest : public ::testing::Test {
protected:
    BackupTest() : dir(fs::temp_directory_path() / ("dnx8-backup-" + std::to_string(::getpid())))
    {
        fs::create_directories(dir);
    }
    ~BackupTest() override { fs::remove_all(dir); }

    // A simulated converter on its own line, with its own trace.
    struct Converter {
        std::unique_ptr<SimProcess> sim;
        std::string port;
        std::string trace;
        std::vector<std::vector<std::uint8_t>> requests() const { return TracedRequests(trace); }
    };
    Converter start(const std::string& name, const std::string& preset,
                    std::vector<std::string> commands = {})
    {
        Converter c{nullptr, (dir / (name + ".port")).string(), (dir / (name + ".trace")).string()};
        std::vector<std::string> args = {"--preset", preset, "--trace", c.trace, "--link", c.port};
        for (const std::string& command : commands)
            args.insert(args.end(), {"-c", command});
        c.sim = std::make_unique<SimProcess>(args);
        EXPECT_TRUE(c.sim->started());
        return c;
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::string text(const std::string& name) const
    {
        std::ostringstream out;
        out << std::ifstream(dir / name).rdbuf();
        return out.str();
    }

    fs::path dir;
};

TEST_F(BackupTest, CloneIntoAFreshConverterComparesEqual)
{
    Converter original = start("original", "pt100");
    Converter fresh = start("fresh", "fresh");
    const std::string file = path("pt100.json");

    ProgramRun run = RunDnx8({"backup", original.port, "-o", file});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Only reads: every request carries no data.
    for (const auto& request : original.requests())
        EXPECT_EQ(request.at(2), 0) << int(request.at(1));
    EXPECT_NE(text("pt100.json").find("\"Sensor\": \"Pt 100 (3850)\""), std::string::npos);

    run = RunDnx8({"diff", fresh.port, file});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    run = RunDnx8({"restore", fresh.port, file});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = RunDnx8({"diff", fresh.port, file});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;

    // Two files: the identity is shown, never counted; a changed filter is.
    ASSERT_EQ(RunDnx8({"backup", fresh.port, "-o", path("clone.json")}).exitCode, 0);
    EXPECT_EQ(RunDnx8({"diff", file, path("clone.json")}).exitCode, 0);
    ASSERT_EQ(RunDnx8({"set", fresh.port, "filter=12"}).exitCode, 0);
    run = RunDnx8({"diff", fresh.port, file});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.out.find("Filter"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 parameter differs"), std::string::npos) << run.out;
}

TEST_F(BackupTest, ThermocoupleIsRestoredWithTheCatalogsPieces)
{
    Converter original = start("original", "thermocouple-k");
    Converter fresh = start("fresh", "fresh");
    const std::string file = path("k.json");
    ASSERT_EQ(RunDnx8({"backup", original.port, "-o", file}).exitCode, 0);
    const ProgramRun run = RunDnx8({"restore", fresh.port, file});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const ThermocoupleCatalog thermocouples;
    const ThermocoupleCurve* k = nullptr;
    for (int i = 0; i < thermocouples.Count(); ++i)
        if (std::string(thermocouples.At(i)->name()).rfind("K ", 0) == 0)
            k = thermocouples.At(i);
    ASSERT_NE(k, nullptr);
    std::vector<std::vector<std::uint8_t>> pieces;
    for (const auto& request : fresh.requests())
        if (request.at(1) == protocol::Code(P::EmfRange))
            pieces.push_back(request);
    ASSERT_EQ(pieces.size(), 4u);
    for (std::uint8_t slot = 0; slot < 4; ++slot) {
        const auto image = k->range(slot).wireImage();
        EXPECT_EQ(pieces[slot][3], slot);
        EXPECT_TRUE(std::equal(image.begin(), image.end(), pieces[slot].begin() + 4)) << int(slot);
    }
    EXPECT_EQ(RunDnx8({"diff", fresh.port, file}).exitCode, 0);
}

TEST_F(BackupTest, SegmentsNeedALinearizationOption)
{
    Converter original = start("original", "voltage", {"set SegmentCount 3"});
    const std::string file = path("segments.json");
    ProgramRun run = RunDnx8({"backup", original.port, "-o", file});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(text("segments.json").find("\"notRestorable\""), std::string::npos);
    EXPECT_NE(run.err.find("cannot restore the converter in full"), std::string::npos) << run.err;

    Converter target = start("target", "fresh");
    run = RunDnx8({"restore", target.port, file});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--keep-linearization"), std::string::npos) << run.err;
    EXPECT_TRUE(target.requests().empty());

    run = RunDnx8({"restore", target.port, file, "--keep-linearization"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

TEST_F(BackupTest, BadFileAndDryRunSendNothing)
{
    Converter target = start("target", "voltage");
    const std::string good = path("good.json");
    ASSERT_EQ(RunDnx8({"backup", target.port, "-o", good}).exitCode, 0);
    std::string bad = text("good.json");
    bad.replace(bad.find("\"Filter\": 5"), 11, "\"Filter\": 31");
    std::ofstream(path("bad.json")) << bad;
    fs::remove(target.trace);

    ProgramRun run = RunDnx8({"restore", target.port, path("bad.json")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("configuration.Filter: 31 is out of range 0..30"), std::string::npos) << run.err;
    run = RunDnx8({"restore", target.port, path("missing.json")});
    EXPECT_EQ(run.exitCode, 2);
    run = RunDnx8({"diff", target.port, path("bad.json")});
    EXPECT_EQ(run.exitCode, 2);

    run = RunDnx8({"restore", target.port, good, "--dry-run"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("InputType         01 2C 01 02 D0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("nothing was sent"), std::string::npos) << run.out;
    EXPECT_TRUE(target.requests().empty());
}

} // namespace
