#include "cli/BackupFile.h"
#include "cli/ExactReal.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <bit>
#include <cfloat>
#include <cmath>
#include <random>

namespace {

// Through the file's own writer and reader, as a backup and a restore do.
std::optional<std::uint32_t> ThroughJson(float value)
{
    const std::optional<double> number = exact_real::toJson(value);
    if (!number)
        return std::nullopt;
    const auto read =
        exact_real::fromJson(nlohmann::json::parse(nlohmann::json(*number).dump()).get<double>());
    return read ? std::optional(std::bit_cast<std::uint32_t>(*read)) : std::nullopt;
}

TEST(ExactReal, EveryFiniteFloatReadsBackBitForBit)
{
    std::vector<std::uint32_t> patterns = {0x00000000, 0x80000000, 0x00000001, 0x80000001, 0x007FFFFF,
                                           0x00800000, 0x7F7FFFFF, 0xFF7FFFFF, 0x3DCCCCCD, 0x3F800000};
    for (std::uint32_t bits = 1; bits < 0x00800000; bits = bits * 3 + 1) // subnormals across their range
        patterns.push_back(bits);
    std::mt19937 random(20240117);
    for (int i = 0; i < 300000; ++i)
        patterns.push_back(static_cast<std::uint32_t>(random()));

    int checked = 0;
    for (std::uint32_t bits : patterns) {
        const float value = std::bit_cast<float>(bits);
        if (!std::isfinite(value))
            continue;
        ++checked;
        const auto back = ThroughJson(value);
        ASSERT_TRUE(back.has_value()) << std::hex << bits;
        ASSERT_EQ(*back, bits) << std::hex << bits;
    }
    EXPECT_GT(checked, 290000);

    // People read the file: the shortest form, not the double's 17 digits.
    EXPECT_EQ(nlohmann::json(*exact_real::toJson(0.1f)).dump(), "0.1");
    EXPECT_EQ(nlohmann::json(*exact_real::toJson(-200.0f)).dump(), "-200.0");
    EXPECT_EQ(nlohmann::json(*exact_real::toJson(-0.0f)).dump(), "-0.0");
}

TEST(ExactReal, NonFiniteAndOutOfRangeHaveNoNumber)
{
    EXPECT_FALSE(exact_real::toJson(NAN));
    EXPECT_FALSE(exact_real::toJson(INFINITY));
    EXPECT_FALSE(exact_real::toJson(-INFINITY));
    EXPECT_FALSE(exact_real::fromJson(1e39));
    EXPECT_FALSE(exact_real::fromJson(-DBL_MAX));
    // Just above FLT_MAX still rounds to it.
    EXPECT_EQ(exact_real::fromJson(static_cast<double>(FLT_MAX) * (1 + 1e-9)), FLT_MAX);
    EXPECT_EQ(exact_real::fromJson(1e-50), 0.0f);
}

BackupFile Complete()
{
    BackupFile file;
    file.identity = "DNX8";
    file.firmware = "1.05";
    file.serialNumber = 240117;
    file.output = "Pasivní 4 až 20 mA";
    file.relays = "Relé 1 a 2";
    file.note = "čerpadlo 3";
    Configuration& c = file.configuration;
    c.inputType = 7;
    c.divider = 1;
    c.shunt = 0.1f;
    c.rangeMin = 18.52f;
    c.rangeMax = 390.48f;
    c.curveDegree = 4;
    c.curveCoefficients =
        CurveCoefficients{-245.2f, 2.3f, 1e-38f, -0.0f, 1.4e-45f, 0, 0, 0, 0, 3.4028235e38f};
    c.segmentCount = 0;
    c.filter = 30;
    c.scaleMin = -200;
    c.scaleMax = 850;
    c.errorSignalling = 3;
    c.relay1 = RelaySettings{80, 75, 0, 65535, 0};
    c.relay2 = RelaySettings{20, 30, 1, 5, 1};
    file.sensor = "Pt 100 (3850)";
    return file;
}

TEST(BackupFile, CompleteFileReadsBackAsWritten)
{
    const BackupFile file = Complete();
    const std::string text = writeBackupJson(file);
    BackupFile back;
    std::vector<std::string> faults;
    ASSERT_TRUE(readBackupJson(text, back, faults)) << (faults.empty() ? "" : faults.front());
    EXPECT_TRUE(compareConfigurations(file.configuration, back.configuration).empty());
    EXPECT_EQ(back.identity, file.identity);
    EXPECT_EQ(back.firmware, file.firmware);
    EXPECT_EQ(back.serialNumber, file.serialNumber);
    EXPECT_EQ(back.output, file.output);
    EXPECT_EQ(back.note, file.note);
    EXPECT_EQ(back.sensor, file.sensor);
    EXPECT_FALSE(back.partial);
    EXPECT_NE(text.find("\"format\": \"dnx8-configuration\""), std::string::npos);
    EXPECT_NE(text.find("\"Filter\": 30"), std::string::npos);
}

TEST(BackupFile, NonFiniteRealsLeaveTheFileAsPartialWithTheirBits)
{
    BackupFile file = Complete();
    file.configuration.scaleMin = std::bit_cast<float>(0xFFFFFFFFu);
    file.configuration.curveCoefficients->at(9) = INFINITY;
    file.configuration.relay2->offValue = NAN;
    settleUnwritableReals(file);
    EXPECT_TRUE(file.partial);
    EXPECT_FALSE(file.configuration.scaleMin || file.configuration.curveCoefficients ||
                 file.configuration.relay2);
    EXPECT_NE(file.missing.at("ScaleMin").find("0xFFFFFFFF"), std::string::npos);
    EXPECT_NE(file.missing.at("CurveCoefficients").find("c9 0x7F800000"), std::string::npos);
    EXPECT_NE(file.missing.at("Relay2").find("offValue"), std::string::npos);

    BackupFile back;
    std::vector<std::string> faults;
    ASSERT_TRUE(readBackupJson(writeBackupJson(file), back, faults));
    EXPECT_TRUE(back.partial);
    EXPECT_TRUE(compareConfigurations(file.configuration, back.configuration).empty());
    EXPECT_EQ(back.missing, file.missing);
}

// Each fault once: the text of a good file with one change, and the place
// the message must name.
TEST(BackupFile, EveryKindOfFaultIsFoundAndNamed)
{
    const std::string good = writeBackupJson(Complete());
    auto changed = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"{ \"format\": ", "JSON"},
        {"[1, 2]", "file"},
        {changed("dnx8-configuration", "other"), "format"},
        {changed("\"version\": 1", "\"version\": 2"), "version"},
        {changed("\"identity\"", "\"identiti\""), "identiti: unknown key"},
        {changed("\"Filter\"", "\"Filtr\""), "configuration.Filtr: unknown key"},
        {changed("\"Filter\": 30", "\"Filter\": 30, \"Filter\": 2"), "configuration.Filter: given twice"},
        {changed("\"Filter\": 30", "\"Filter\": 31"), "configuration.Filter: 31 is out of range 0..30"},
        {changed("\"Filter\": 30", "\"Filter\": 3.0"), "configuration.Filter: must be a whole number"},
        {changed("\"Filter\": 30", "\"Filter\": \"30\""), "configuration.Filter: must be a whole number"},
        {changed("\"InputType\": 7", "\"InputType\": 16"), "configuration.InputType: 16 is out of range"},
        {changed("\"InputType\": 7", "\"InputType\": -1"), "configuration.InputType: -1 is out of range"},
        {changed("\"ErrorSignalling\": 3", "\"ErrorSignalling\": 4"), "configuration.ErrorSignalling"},
        {changed("\"CurveDegree\": 4", "\"CurveDegree\": 10"), "configuration.CurveDegree"},
        {changed("\"SegmentCount\": 0", "\"SegmentCount\": 21"), "configuration.SegmentCount"},
        {changed("-245.2", "-245.2, 1"), "configuration.CurveCoefficients: must be a list of exactly 10"},
        {changed("-245.2", "null"), "configuration.CurveCoefficients[0]: must be a number"},
        {changed("\"ScaleMax\": 850.0", "\"ScaleMax\": 1e39"), "configuration.ScaleMax: 1e+39 is beyond"},
        {changed("\"mode\": 1", "\"mode\": 2"), "configuration.Relay2.mode: 2 is out of range 0..1"},
        {changed("\"offDelay\": 65535", "\"offDelay\": 70000"), "configuration.Relay1.offDelay: 70000"},
        {changed("\"offDelay\": 5,", ""), "configuration.Relay2.offDelay: missing"},
        {changed("\"Shunt\": 0.1,", ""), "configuration.Shunt: missing"},
        {changed("\"version\": 1,", "\"version\": 1, \"partial\": \"yes\","),
         "partial: must be true or false"},
    };
    for (const auto& [text, place] : cases) {
        BackupFile file;
        std::vector<std::string> faults;
        EXPECT_FALSE(readBackupJson(text, file, faults)) << place;
        ASSERT_FALSE(faults.empty()) << place;
        EXPECT_NE(faults.front().find(place), std::string::npos) << faults.front();
    }

    // A partial file may lack keys; all faults of a file come at once.
    BackupFile file;
    std::vector<std::string> faults;
    std::string partial = changed("\"version\": 1,", "\"version\": 1, \"partial\": true,");
    partial.replace(partial.find("\"Shunt\": 0.1,"), 13, "");
    EXPECT_TRUE(readBackupJson(partial, file, faults));
    EXPECT_FALSE(file.configuration.shunt.has_value());
    std::string several = changed("\"Filter\": 30", "\"Filter\": 31");
    several.replace(several.find("\"InputType\": 7"), 14, "\"InputType\": 99");
    EXPECT_FALSE(readBackupJson(several, file, faults = {}));
    EXPECT_EQ(faults.size(), 2u);
}

} // namespace
