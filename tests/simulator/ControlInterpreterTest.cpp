#include "SimTestSupport.h"

#include "simulator/ControlInterpreter.h"
#include "simulator/Options.h"
#include "simulator/Presets.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

using P = protocol::Parameter;

struct Control {
    sim::SimulatedConverter converter;
    sim::ControlInterpreter interpreter{converter};

    sim::ControlReply run(const std::string& line) { return interpreter.execute(line, 0.0); }
    bool ok(const std::string& line) { return run(line).ok; }
};

TEST(Control, SetStoresWithoutClippingAndGetReadsBack)
{
    Control c;
    EXPECT_TRUE(c.ok("set Filter 99"));
    EXPECT_TRUE(c.ok("set InputType 16"));
    EXPECT_TRUE(c.ok("set FirmwareVersion 0x0A10"));
    EXPECT_TRUE(c.ok("set SerialNumber -7"));
    EXPECT_TRUE(c.ok("set RangeMin 0xC372CA74"));
    EXPECT_TRUE(c.ok("set Relay1 1.5 0.5 10 20 1"));
    EXPECT_TRUE(c.ok("set Segment 19 1 2 0 0 -3.25"));
    EXPECT_EQ(Ask(c.converter, RequestFrame(P::Filter)), Ack({99}));
    EXPECT_EQ(Ask(c.converter, RequestFrame(P::Relay1)),
              Ack({0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0x3F, 0x0A, 0x00, 0x14, 0x00, 0x01}));
    EXPECT_EQ(c.run("get FirmwareVersion").lines, std::vector<std::string>{"FirmwareVersion 0x0A10"});
    EXPECT_EQ(c.run("get SerialNumber").lines, std::vector<std::string>{"SerialNumber -7"});
    EXPECT_EQ(c.run("get RangeMin").lines, std::vector<std::string>{"RangeMin -242.79083"});
    EXPECT_EQ(c.run("get Segment 19").lines, std::vector<std::string>{"Segment 19 1 2 0 0 -3.25"});
}

TEST(Control, RejectsMalformedLinesAndChangesNothing)
{
    Control c;
    const sim::ParameterMemory before = c.converter.model.memory;
    for (const char* line : {"set",
                             "set Filter",
                             "set Filter 256",
                             "set Filter -1",
                             "set Filter x",
                             "set Relay1 1 2 3 4",
                             "set Segment 20 0 0 0 0 0",
                             "set Segment 0 1 2 3 4",
                             "set Nothing 1",
                             "set LiveInput 3",
                             "set SerialNumber 4294967296",
                             "get",
                             "live Filter 3",
                             "live LiveInput soon",
                             "fault",
                             "fault silence",
                             "fault bogus on",
                             "fault silence sometimes",
                             "fault nak on 300",
                             "identity TOOLONGID",
                             "preset nowhere",
                             "line",
                             "line shut",
                             "line close now",
                             "launch"}) {
        const sim::ControlReply reply = c.run(line);
        EXPECT_FALSE(reply.ok) << line;
        EXPECT_FALSE(reply.error.empty()) << line;
        EXPECT_EQ(reply.line, sim::LineChange::None) << line;
    }
    EXPECT_EQ(c.converter.model.memory, before);
    EXPECT_TRUE(c.converter.faults.describe().empty());
    EXPECT_TRUE(c.ok(""));
    EXPECT_TRUE(c.ok("# comment"));
}

TEST(Control, IdentityLiveAndFaultCommandsReachTheLine)
{
    Control c;
    ASSERT_TRUE(c.ok("identity DNX7"));
    EXPECT_EQ(Ask(c.converter, RequestFrame(P::Identity)), Ack({'D', 'N', 'X', '7', 0, 0, 0, 0}));

    ASSERT_TRUE(c.ok("live LiveProcess fault"));
    EXPECT_EQ(Ask(c.converter, RequestFrame(P::LiveProcess)), Ack({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(c.run("get LiveProcess").lines, std::vector<std::string>{"LiveProcess fault"});
    ASSERT_TRUE(c.ok("live LiveProcess 2.5"));
    EXPECT_EQ(Ask(c.converter, RequestFrame(P::LiveProcess)), Ack(FloatBytes(2.5f)));

    ASSERT_TRUE(c.ok("fault delay once 50 Filter"));
    ASSERT_TRUE(c.ok("fault nak 2"));
    EXPECT_EQ(c.converter.faults.describe(),
              (std::vector<std::string>{"fault nak 2", "fault delay 1 50 Filter"}));
    auto delayed = c.converter.receive(RequestFrame(P::Filter), 0.0);
    EXPECT_EQ(delayed.at(0).reply.delay.count(), 50);
    ASSERT_TRUE(c.ok("fault clear"));
    EXPECT_EQ(Ask(c.converter, RequestFrame(P::Filter)), Ack({0}));

    EXPECT_TRUE(c.run("quit").quit);
}

TEST(Control, LineCommandsAskForTheLineAndLeaveTheConverterAlone)
{
    Control c;
    ASSERT_TRUE(c.ok("set Filter 12"));
    const sim::ParameterMemory before = c.converter.model.memory;
    const sim::ControlReply closing = c.run("line close");
    EXPECT_TRUE(closing.ok);
    EXPECT_EQ(closing.line, sim::LineChange::Close);
    EXPECT_FALSE(closing.quit);
    EXPECT_EQ(c.run("line open").line, sim::LineChange::Open);
    EXPECT_EQ(c.run("ping").line, sim::LineChange::None);
    EXPECT_EQ(c.converter.model.memory, before);
    EXPECT_EQ(Ask(c.converter, RequestFrame(P::Filter)), Ack({12}));
}

TEST(Control, DumpReplaysToTheSameMemory)
{
    for (const sim::Preset& preset : sim::Presets()) {
        SCOPED_TRACE(std::string(preset.name));
        Control original;
        preset.fill(original.converter.model.memory);
        original.converter.model.memory.setReal(P::ScaleMin, 0.1f); // no short decimal of its own
        original.ok("fault checksum 3 Relay2");
        original.ok("live LiveValue fault");

        Control copy;
        for (const std::string& line : original.interpreter.dump(0.0))
            ASSERT_TRUE(copy.ok(line)) << line;
        EXPECT_EQ(copy.converter.model.memory, original.converter.model.memory);
        EXPECT_EQ(copy.converter.faults.describe(), original.converter.faults.describe());
        EXPECT_EQ(copy.converter.model.live.mode(P::LiveValue), sim::LiveValues::Mode::Faulty);
        EXPECT_EQ(copy.converter.model.live.mode(P::LiveInput), sim::LiveValues::Mode::Follow);
    }
}

TEST(Control, DumpToAFile)
{
    Control c;
    sim::ApplyPreset("current", c.converter.model.memory);
    const std::string path = testing::TempDir() + "dnx8sim_dump.txt";
    ASSERT_TRUE(c.ok("dump " + path));
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("set InputType 4\n"), std::string::npos);
    EXPECT_NE(text.str().find("set RangeMin 4\n"), std::string::npos);
    std::remove(path.c_str());
    EXPECT_FALSE(c.ok("dump /nonexistent-dir/dump.txt"));
}

TEST(Options, ParsesAndRefuses)
{
    auto parse = [](std::vector<const char*> args, sim::Options& out) {
        return sim::ParseOptions(std::span(const_cast<char* const*>(args.data()), args.size()), out);
    };
    sim::Options o;
    EXPECT_EQ(parse({}, o), "");
    EXPECT_EQ(o.preset, "voltage");
    EXPECT_EQ(o.baud, 0u);
    EXPECT_EQ(parse({"--preset", "pt100", "--baud", "9600", "--identity", "DNX7", "-c", "fault nak on"}, o),
              "");
    EXPECT_EQ(o.preset, "pt100");
    EXPECT_EQ(o.baud, 9600u);
    EXPECT_EQ(o.commands, (std::vector<std::string>{"identity DNX7", "fault nak on"}));
    for (std::vector<const char*> bad :
         std::vector<std::vector<const char*>>{{"--preset", "nowhere"},
                                               {"--baud", "fast"},
                                               {"--trace"},
                                               {"--identity", "NINECHARS"},
                                               {"--device", "/dev/ttyS0", "--link", "/tmp/x"},
                                               {"--frobnicate", "1"}})
        EXPECT_NE(parse(bad, o), "") << bad[0];
}

TEST(Options, HelpDocumentsEveryPresetFaultAndCommand)
{
    const std::string help = sim::HelpText();
    for (const sim::Preset& p : sim::Presets())
        EXPECT_NE(help.find("  " + std::string(p.name) + " "), std::string::npos) << p.name;
    for (std::size_t i = 0; i < sim::FaultCount; ++i) {
        const std::string name(sim::FaultName(static_cast<sim::Fault>(i)));
        EXPECT_NE(help.find("  " + name + " "), std::string::npos) << name;
    }
    for (const char* word :
         {"set NAME",         "get NAME",    "live NAME",  "fault NAME", "fault clear", "identity TEXT",
          "preset NAME",      "dump [FILE]", "line close", "line open",  "ping",        "quit",
          "--preset",         "--link",      "--device",   "--trace",    "--baud",      "--control ",
          "--control-socket", "--identity",  "--command"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
}

} // namespace
