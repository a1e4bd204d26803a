#include "linearization/LineReader.h"
#include "linearization/NumberField.h"
#include "linearization/PointReader.h"
#include "linearization/PointSet.h"

#include "PointFileRules.h"
#include "TempPointFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::string> Lines(std::string_view bytes)
{
    TempPointFile file(bytes);
    LineReader reader;
    EXPECT_TRUE(reader.open(file.path()));
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.nextLine(line))
        lines.emplace_back(line);
    return lines;
}

std::vector<std::pair<double, double>> Points(std::string_view bytes)
{
    TempPointFile file(bytes);
    PointReader reader;
    EXPECT_TRUE(reader.open(file.path()));
    std::vector<std::pair<double, double>> points;
    double x = 0;
    double y = 0;
    while (reader.nextPoint(x, y))
        points.emplace_back(x, y);
    return points;
}

using P = std::vector<std::pair<double, double>>;

bool Parses(std::string text, double& value)
{
    std::string_view cursor = text;
    return parseNumber(cursor, value);
}

} // namespace

TEST(LineReader, EndsLinesAtCrLfAndCrLfAlike)
{
    EXPECT_EQ(Lines("a\rb\nc\r\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(Lines("a\r\rb\n\n"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_TRUE(Lines("").empty());
}

TEST(LineReader, KeepsThe127FirstBytesAndSkipsTheRest)
{
    const std::string first(127, 'x');
    const auto lines = Lines(first + "TAIL\r\nnext");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], "next");
}

TEST(LineReader, CtrlZEndsItsLineAndTheFile)
{
    EXPECT_EQ(Lines("1 2\n3 4\x1a tail\n5 6\n"), (std::vector<std::string>{"1 2", "3 4"}));
    // Also in the skipped part of an overlong line.
    EXPECT_EQ(Lines(std::string(200, 'y') + "\x1a\n5 6\n"),
              (std::vector<std::string>{std::string(127, 'y')}));
}

TEST(LineReader, LinesAcrossTheReadBufferStayWhole)
{
    // Reads go in 64 KiB blocks; put a CR LF and a long line across block edges.
    std::string split(65536 - 1, ';');
    split += "\r\nok\n"; // CR is the last byte of the first block, LF the first of the next
    const auto lines = Lines(split);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "ok");

    std::string longAcross(65536 - 50, 'q');
    longAcross += "\n";
    longAcross += std::string(300, 'w') + "\nend";
    const auto more = Lines(longAcross);
    ASSERT_EQ(more.size(), 3u);
    EXPECT_EQ(more[1], std::string(127, 'w'));
    EXPECT_EQ(more[2], "end");
}

TEST(ParseNumber, AcceptsTheDecimalGrammar)
{
    const std::pair<const char*, double> valid[] = {
        {"0", 0},
        {"-3E2", -300},
        {"+1.5", 1.5},
        {"5.", 5},
        {".25", 0.25},
        {"1e+3", 1000},
        {"1E-3", 0.001},
        {"-0.5e1", -5},
        {"007", 7},
        {"0.1", 0.1},
        {"3.4028235e38", 3.4028235e38},
        {"1e-400", 0}, // underflows to zero, still a number
    };
    for (const auto& [text, expected] : valid) {
        double value = -99;
        EXPECT_TRUE(Parses(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
}

TEST(ParseNumber, RejectsAnythingElseAndLeavesTheValue)
{
    const char* invalid[] = {"",    ".",     "-",    "+.",      "1,5",   "1e",           "1e+",
                             "e5",  "1.2.3", "--1",  "1e5.5",   "0x10",  "inf",          "-INF",
                             "nan", "1d",    "1e39", "-3.5e38", "1e400", "3.4028236e38", "12a"};
    for (const char* text : invalid) {
        double value = -99;
        EXPECT_FALSE(Parses(text, value)) << text;
        EXPECT_EQ(value, -99) << text;
    }
}

TEST(ParseNumber, RoundsCorrectlyUpToTheFloatLimit)
{
    // Fields that are hard to round: significands around 2^53, exponents
    // around 22, 19 and 20 digits, leading zeros, long fractions, subnormals,
    // values below the double range, and values around the float limit, where
    // the field stops being a number. Each must give the correctly rounded
    // double, or be rejected exactly when that value is beyond float.
    const char* fields[] = {"9007199254740991",
                            "9007199254740992",
                            "9007199254740993",
                            "-9007199254740993",
                            "9007199254740991e22",
                            "9007199254740992e-22",
                            "9007199254740993e-22",
                            "900719925474099.3",
                            "90071992547409.93e-21",
                            "1e22",
                            "1e23",
                            "1e-22",
                            "1e-23",
                            "-7e22",
                            "123456789e-23",
                            "4.2e+22",
                            "0.5e-22",
                            "1234567890123456789",
                            "12345678901234567890",
                            "9999999999999999999e-22",
                            "0.000000000000000000000000000000000000000000001",
                            "00000000000000000000000000000001.5",
                            "0.1234567890123456789012345",
                            "3.14159265358979323846264338327950288",
                            "0000000000000000001",
                            "4.9406564584124654e-324",
                            "2.4703282292062327e-324",
                            "2.2250738585072011e-308",
                            "1e-320",
                            "5e-325",
                            "3.4028235e38",
                            "3.4028235677973362e38",
                            "3.4028235677973366e38",
                            "-3.40282356779733661637539395458142568448e38",
                            "340282356779733661637539395458142568447",
                            "3.40282357e38",
                            "1e38",
                            "100000000000000000000000000000000000000",
                            "-0",
                            "-0.0e-30",
                            "0e999"};
    // Outside the double range, above or below: the first digit's place and
    // the exponent decide together, whatever their lengths.
    std::vector<std::string> all(std::begin(fields), std::end(fields));
    all.insert(all.end(), {"1e99999999999999999999", "-1e-99999999999999999999",
                           "0." + std::string(400, '0') + "1e+10", "1" + std::string(400, '0') + "e-10",
                           "0.0000001e310", "-1" + std::string(300, '0') + "e-300"});
    for (const std::string& text : all) {
        // strtod rounds correctly too and gives infinity above the double range.
        const double expected = std::strtod(text.c_str(), nullptr);
        double value = -99;
        if (std::fabs(expected) >= 0x1.ffffffp127) {
            EXPECT_FALSE(Parses(text, value)) << text;
            EXPECT_EQ(value, -99) << text;
            continue;
        }
        ASSERT_TRUE(Parses(text, value)) << text;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected)) << text;
        if (text.size() > 60)
            continue;
        // The same field within a point line, followed by another field.
        const auto points = Points(text + "\t" + text + " 1\r\n");
        ASSERT_EQ(points.size(), 1u) << text;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(points[0].first), std::bit_cast<std::uint64_t>(expected))
            << text;
    }
}

TEST(ParseNumber, DigitRunsOfEveryLengthEndWhereTheFieldOrTheLineEnds)
{
    // Every split of digits around the point, ended by a blank, by the end of
    // a line whose storage goes on with more digits, or by the end of a short
    // string: nothing behind the cursor's end is read.
    const std::string more = "987654321987654321";
    for (int whole = 0; whole <= 16; ++whole) {
        for (int fraction = -1; fraction <= 16; ++fraction) {
            std::string text;
            for (int i = 0; i < whole; ++i)
                text += static_cast<char>('1' + (i * 7) % 9);
            if (fraction >= 0)
                text += ".";
            for (int i = 0; i < fraction; ++i)
                text += static_cast<char>('0' + (i * 3) % 10);
            if (whole + std::max(fraction, 0) == 0)
                continue;
            for (const char* sign : {"", "-", "+"}) {
                const std::string field = sign + text;
                const double expected = std::strtod(field.c_str(), nullptr);
                double value = 0;
                ASSERT_TRUE(Parses(field, value)) << field;
                EXPECT_EQ(value, expected) << field;

                const std::string stored = "\t" + field + more;
                std::string_view cursor(stored.data(), 1 + field.size());
                value = 0;
                ASSERT_TRUE(parseNumber(cursor, value)) << field;
                EXPECT_EQ(value, expected) << field;
                EXPECT_TRUE(cursor.empty()) << field;

                const std::string line = field + " " + more;
                cursor = line;
                value = 0;
                ASSERT_TRUE(parseNumber(cursor, value)) << field;
                EXPECT_EQ(value, expected) << field;
                EXPECT_EQ(cursor, " " + more) << field;
            }
        }
    }
}

TEST(ParseNumber, AFieldFollowedByAnythingButABlankFails)
{
    for (const char* text : {"12.5x", "12.5,1", "-1.25.", "3-", "1+", "0.5;", "12345678.12345678a"}) {
        double value = -99;
        EXPECT_FALSE(Parses(text, value)) << text;
        EXPECT_EQ(value, -99) << text;
    }
}

TEST(ParseNumber, SkipsBlanksAndStopsBehindItsField)
{
    std::string_view cursor = "  10.5\t-3E2 word";
    double x = 0;
    double y = 0;
    ASSERT_TRUE(parseNumber(cursor, x));
    ASSERT_TRUE(parseNumber(cursor, y));
    EXPECT_EQ(x, 10.5);
    EXPECT_EQ(y, -300);
    EXPECT_EQ(cursor, " word");
    double rest = 0;
    EXPECT_FALSE(parseNumber(cursor, rest));
    EXPECT_TRUE(cursor.empty());
    EXPECT_FALSE(parseNumber(cursor, rest)); // nothing left: an empty field
}

TEST(PointReader, SkipsCommentsAndInvalidLines)
{
    const auto points = Points("; comment\n"
                               "\n"
                               "1 2\n"
                               "1,5 3\n"   // decimal comma
                               "  ; 4 5\n" // ";" after blanks is no comment mark, but invalid
                               "6 7 8\n"   // a third column is ignored
                               "9\n"       // no second field
                               "10 inf\n"  // no usable value
                               "11 1e39\n" // beyond float
                               "\t12\t13 remark\n");
    EXPECT_EQ(points, (P{{1, 2}, {6, 7}, {12, 13}}));
}

TEST(PointReader, FieldsAreCutAt127Characters)
{
    std::string pad(120, ' ');
    // The second field would begin at character 128: the line is skipped.
    const auto points = Points(pad + "1.5" + std::string(10, ' ') + "2\n" + pad + "1.5 2\n");
    EXPECT_EQ(points, (P{{1.5, 2}}));
}

TEST(PointReader, AFieldCrossingThe127thCharacterIsCutThere)
{
    // The cut falls inside the second field: what is left of it is read.
    const std::string pad(120, ' ');
    EXPECT_EQ(Points(pad + "1.5 2345678\n" + pad + "-1 -0.25\n"), (P{{1.5, 234}, {-1, -0.2}}));
    // And inside the first: the line has no second field.
    EXPECT_EQ(Points(std::string(124, ' ') + "12.75 3\n7 8\n"), (P{{7, 8}}));
}

TEST(PointReader, LinesAcrossTheReadBufferKeepTheirPoints)
{
    // Points whose fields, or whose CR LF, are split by the 64 KiB block edge,
    // and a line longer than a block.
    for (std::size_t shift = 0; shift < 24; ++shift) {
        std::string bytes(65536 - 12 - shift, ';');
        bytes += "\r\n-12.345678\t101.25\r\n";
        bytes += std::string(70000, '7') + "\n0.5 1.5\r\n";
        const auto points = Points(bytes);
        EXPECT_EQ(points, (P{{-12.345678, 101.25}, {0.5, 1.5}})) << shift;
    }
}

TEST(PointReader, GivesThePointsOfTheRulesForLinesOfEveryShape)
{
    // Random files of lines of every shape, over several buffer refills,
    // against the rules worked out apart from the reader, to the bit.
    std::mt19937 random(11);
    const auto pick = [&](std::initializer_list<const char*> choices) {
        return std::string(choices.begin()[random() % choices.size()]);
    };
    const auto digits = [&](int n) {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += static_cast<char>('0' + random() % 10);
        return text;
    };
    const auto field = [&] {
        std::string text = pick({"", "", "", "-", "+"});
        text += digits(static_cast<int>(random() % 20));
        if (random() % 4 != 0)
            text += "." + digits(static_cast<int>(random() % 20));
        switch (random() % 12) {
        case 0:
            return text + pick({"e", "E"}) + pick({"", "-", "+"}) +
                   digits(1 + static_cast<int>(random() % 3));
        case 1:
            return text + pick({",5", "x", ".", "-", ";", "e", "e+", "\x80"});
        case 2:
            return pick({"inf", "nan", "1e39", "0x10", "", "3.4028235677973366e38", "-3.4028235677973362e38",
                         "1e-400", "-0", "2.4703282292062328e-324", "1e99999999999999999999"});
        default:
            return text;
        }
    };
    for (int round = 0; round < 8; ++round) {
        std::string bytes;
        while (bytes.size() < 200000) {
            switch (random() % 16) {
            case 0:
                bytes += pick({";", "; note", "", " ", "\t",
                               "\xEF\xBB\xBF"
                               "1 2"});
                break;
            case 1:
                bytes += std::string(random() % 140, ' ') + field() + " " + field();
                break;
            case 2:
                bytes += field();
                break;
            default:
                bytes += pick({"", "", "", " ", "\t"}) + field() + pick({"\t", " ", "  ", " \t ", ""}) +
                         field() + pick({"", "", "", "", " ", "\t", " 7", "\t-1.5e2", " x"});
            }
            bytes += pick({"\n", "\n", "\r\n", "\r\n", "\r"});
        }
        if (round % 2 == 1)
            bytes += "\x1a"
                     "1 2\n";
        const auto expected = PointsByTheRules(bytes);
        const auto points = Points(bytes);
        ASSERT_EQ(points.size(), expected.size()) << "round " << round;
        for (std::size_t i = 0; i < points.size(); ++i) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(points[i].first),
                      std::bit_cast<std::uint64_t>(expected[i].first))
                << "round " << round << ", point " << i;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(points[i].second),
                      std::bit_cast<std::uint64_t>(expected[i].second))
                << "round " << round << ", point " << i;
        }
        EXPECT_GT(points.size(), 2000u); // the mix holds enough valid lines to mean something
    }
}

TEST(PointReader, ACrAsTheLastByteEndsTheLastLine)
{
    // The last read fills the buffer only in part; behind it lie bytes of an
    // earlier block, here an LF, which must not be taken for the CR's mate.
    std::string bytes = ";   \n7 8\n";
    bytes += std::string(65536 - bytes.size() - 1, ';') + "\n";
    bytes += "3 4\n1 2\r"; // the last read: 8 bytes, then the LF at byte 8 of the first
    EXPECT_EQ(Points(bytes), (P{{7, 8}, {3, 4}, {1, 2}}));
}

TEST(PointReader, AByteOrderMarkSpoilsTheFirstLine)
{
    EXPECT_EQ(Points("\xEF\xBB\xBF"
                     "1 2\n3 4\n"),
              (P{{3, 4}}));
    EXPECT_EQ(Points("\xEF\xBB\xBF"
                     ";1 2\n3 4\n"),
              (P{{3, 4}}));
}

TEST(ReadPointSet, CountsEveryValidLineAndTakesTheRangeFromX)
{
    TempPointFile file("5 0\r\n-2 100\r\n3 -7\r\n3 8\r\n3 9\r\n;x\r\nbad line\r\n");
    PointSet set;
    set.method = 1;
    set.order = 7;
    readPointSet(file.path(), set);
    EXPECT_EQ(set.count, 5); // repeated x count
    EXPECT_EQ(set.min, -2.0f);
    EXPECT_EQ(set.max, 5.0f);
    EXPECT_EQ(set.method, 0); // the record starts afresh
    EXPECT_EQ(set.order, 0);
}

TEST(ReadPointSet, StopsAtCtrlZAndRoundsTheRangeToFloat)
{
    TempPointFile file("0.1 1\n0.3 2\n\x1a"
                       "100 3\n");
    PointSet set;
    readPointSet(file.path(), set);
    EXPECT_EQ(set.count, 2);
    EXPECT_EQ(set.min, 0.1f);
    EXPECT_EQ(set.max, 0.3f);
}

TEST(ReadPointSet, AMissingOrEmptyFileHasNoPoints)
{
    PointSet set;
    set.count = 9;
    readPointSet(MissingFile(), set);
    EXPECT_EQ(set.count, 0);

    TempPointFile empty("");
    set.count = 9;
    readPointSet(empty.path(), set);
    EXPECT_EQ(set.count, 0);
}

TEST(ReadPointSet, OpensANameWithCzechLetters)
{
    TempPointFile file("1 1\n2 2\n3 3\n", u8"měření čidla.txt");
    PointSet set;
    readPointSet(file.path(), set);
    EXPECT_EQ(set.count, 3);
}
