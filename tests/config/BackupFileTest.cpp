#include "config/BackupFile.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

namespace {

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

// Every real through the file's writer and reader, ten at a time as the
// coefficients: random bit patterns, subnormals across their range, both
// zeros, the largest and smallest magnitudes.
TEST(BackupFile, EveryFiniteFloatReadsBackBitForBit)
{
    std::vector<std::uint32_t> patterns = {0x00000000, 0x80000000, 0x00000001, 0x80000001, 0x007FFFFF,
                                           0x00800000, 0x7F7FFFFF, 0xFF7FFFFF, 0x3DCCCCCD, 0x3F800000};
    for (std::uint32_t bits = 1; bits < 0x00800000; bits = bits * 3 + 1)
        patterns.push_back(bits);
    std::mt19937 random(20240117);
    while (patterns.size() < 200000)
        if (const std::uint32_t bits = static_cast<std::uint32_t>(random());
            std::isfinite(std::bit_cast<float>(bits)))
            patterns.push_back(bits);

    BackupFile file = Complete();
    for (std::size_t at = 0; at + 10 <= patterns.size(); at += 10) {
        CurveCoefficients& c = *file.configuration.curveCoefficients;
        for (std::size_t i = 0; i < 10; ++i)
            c[i] = std::bit_cast<float>(patterns[at + i]);
        BackupFile back;
        std::vector<std::string> faults;
        ASSERT_TRUE(readBackupJson(writeBackupJson(file), back, faults)) << faults.front();
        for (std::size_t i = 0; i < 10; ++i)
            ASSERT_EQ(std::bit_cast<std::uint32_t>(back.configuration.curveCoefficients->at(i)),
                      patterns[at + i])
                << std::hex << patterns[at + i];
    }
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
    // People read the file: the shortest form, not a double's 17 digits.
    EXPECT_NE(text.find("\"Shunt\": 0.1,"), std::string::npos);
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
        {changed("\"ScaleMax\": 850.0", "\"ScaleMax\": 1e39"),
         "number overflow parsing '1e39': beyond the range"},
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
