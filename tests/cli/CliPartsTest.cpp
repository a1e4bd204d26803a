// The parts of dnx8 that a program run cannot pin down cheaply: what the
// user's numbers and settings read as, the frame trace, the CSV time stamp
// and the text alignment.
#include "cli/LabelledLines.h"
#include "config/LocalTime.h"
#include "config/Settings.h"
#include "device/TracingTransport.h"
#include "cli/UserNumberOptions.h"
#include "config/UserNumbers.h"
#include "device/ConverterLink.h"
#include "tests/device/ScriptedTransport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>

namespace {

TEST(UserNumbers, OnlyWholePlainDecimalTextsAreNumbers)
{
    EXPECT_EQ(readUserReal("12.5"), 12.5f);
    EXPECT_EQ(readUserReal("-0.25"), -0.25f);
    EXPECT_EQ(readUserReal("1e3"), 1000.0f);
    EXPECT_EQ(readUserReal("0.1"), 0.1f); // correctly rounded
    for (const char* text :
         {"", "12,5", " 1", "1 ", "+1", "1.5V", "inf", "nan", "-inf", "0x10", "1e39", "."}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(readUserReal(text));
        EXPECT_FALSE(realProblem(text).empty());
    }
    EXPECT_NE(realProblem("12,5").find("decimal point"), std::string::npos);
    EXPECT_NE(realProblem("1e39").find("outside the range"), std::string::npos);

    EXPECT_EQ(readUserInteger("65535", 0, 65535), 65535);
    for (const char* text : {"65536", "-1", "1.0", "", "5x", "99999999999999999999"})
        EXPECT_FALSE(readUserInteger(text, 0, 65535)) << text;
    EXPECT_NE(integerProblem("70000", 0, 65535).find("outside 0..65535"), std::string::npos);
}

TEST(Settings, EachSettingReadsToItsValueOrSaysWhatIsWrong)
{
    std::string problem;
    auto relay = parseSetting("relay2=window,-1.5,0,2.25,65535", problem);
    ASSERT_TRUE(relay) << problem;
    EXPECT_EQ(relay->kind, Setting::Kind::Relay2);
    EXPECT_EQ(relay->relay, (RelaySettings{-1.5f, 2.25f, 0, 65535, RelaySettings::Window}));
    auto state = parseSetting("error-state=input", problem);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->code, 3);
    // The codes the docs list, and names in any case.
    EXPECT_EQ(parseSetting("error-state=2", problem)->code, 2);
    EXPECT_EQ(parseSetting("error-state=Over", problem)->code, 2);
    EXPECT_EQ(parseSetting("relay1=Hysteresis,1,2,3,4", problem)->relay.mode, RelaySettings::Hysteresis);
    EXPECT_EQ(parseSetting("scale-min=-3.5", problem)->real, -3.5f);
    EXPECT_EQ(parseSetting("filter=30", problem)->code, 30);

    for (const char* text : {"filter", "filter=", "filter=-1", "Filter=3", "relay1=hysteresis,1,2,3",
                             "relay1=hysteresis,1,2,3,4,5", "relay1=on,1,2,3,4", "relay1=window,1,2.5,3,4",
                             "scale-max=1e40", "error-state=4", "error-state=02"}) {
        SCOPED_TRACE(text);
        problem.clear();
        EXPECT_FALSE(parseSetting(text, problem));
        EXPECT_FALSE(problem.empty());
    }
}

TEST(TracingTransport, EachFrameIsOneLineAndATimeOutIsMarked)
{
    ScriptedTransport::Record record;
    auto scripted = std::make_unique<ScriptedTransport>(record);
    ScriptedTransport* line = scripted.get();
    std::ostringstream trace;
    ConverterLink link(std::make_unique<TracingTransport>(std::move(scripted), trace));
    // The reply arrives in two pieces; then nothing comes.
    line->queue({0x06, 0x01});
    line->queue({0x07, 0xF2});
    line->queueSilence();
    std::uint8_t filter = 0;
    EXPECT_TRUE(link.readFilter(filter));
    EXPECT_FALSE(link.readInputType(filter));
    link.close();

    const std::regex expected("\\d+\\.\\d{6} request 01 3E 00 C1\n"
                              "\\d+\\.\\d{6} reply 06 01 07 F2\n"
                              "\\d+\\.\\d{6} request 01 2C 00 D3\n"
                              "\\d+\\.\\d{6} reply \\(time-out\\)\n");
    EXPECT_TRUE(std::regex_match(trace.str(), expected)) << trace.str();
}

TEST(LocalTime, IsIso8601WithMillisecondsAndTheOffset)
{
    const char* saved = std::getenv("TZ");
    const std::string previous = saved ? saved : "";
    ::setenv("TZ", "XST-5:30", 1); // 5 h 30 min east of UTC
    ::tzset();
    const auto at = std::chrono::system_clock::time_point(std::chrono::milliseconds(1700000000250));
    EXPECT_EQ(localTimeStamp(at), "2023-11-15T03:43:20.250+05:30");
    ::setenv("TZ", "XST8", 1);
    ::tzset();
    EXPECT_EQ(localTimeStamp(at), "2023-11-14T14:13:20.250-08:00");
    if (saved)
        ::setenv("TZ", previous.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

TEST(LabelledLines, ValuesLineUpWhateverTheLettersOfTheLabels)
{
    LabelledLines lines;
    lines.add("Výrobní číslo", "240117");
    lines.add("Relé", "Relé 1 a 2");
    lines.gap();
    lines.add("Filtr", "5");
    std::ostringstream out;
    lines.print(out);
    EXPECT_EQ(out.str(), "Výrobní číslo: 240117\n"
                         "Relé:          Relé 1 a 2\n"
                         "\n"
                         "Filtr:         5\n");
}

} // namespace
