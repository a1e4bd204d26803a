// The server's data folder on its own: the journal file (whole lines, a
// cut last line skipped and never in the way), the as-found copies and
// the choice and check of the folder.
#include "server/DataFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <random>

namespace fs = std::filesystem;

namespace {

class DataFolderTest : public ::testing::Test {
protected:
    fs::path folder;

    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("dnx8-data-test-" + std::to_string(std::random_device()()));
    }
    void TearDown() override { fs::remove_all(folder); }

    static std::string contents(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

Json entry(int serial, const std::string& sent)
{
    return Json{{"serialNumber", serial}, {"parameter", "Filter"}, {"sent", sent}};
}

std::vector<std::string> sentOf(const JournalFile::Lines& read)
{
    std::vector<std::string> sent;
    for (const Json& line : read.lines)
        sent.push_back(line["sent"].get<std::string>());
    return sent;
}

const auto everyLine = [](const Json&) { return true; };

TEST_F(DataFolderTest, JournalAppendsWholeLinesAndReadsTheNewestBack)
{
    JournalFile journal(folder / "deeper" / "journal.jsonl");
    EXPECT_TRUE(journal.read(everyLine, 10).lines.empty()); // no file yet
    std::string problem;
    for (const auto& [serial, sent] : {std::pair{1, "5"}, {2, "6"}, {1, "7"}, {1, "8"}})
        ASSERT_TRUE(journal.append(entry(serial, sent), problem)) << problem;
    EXPECT_EQ(contents(journal.path()).back(), '\n');

    const auto first = [](const Json& line) { return line["serialNumber"] == 1; };
    JournalFile::Lines all = journal.read(first, 10);
    EXPECT_EQ(sentOf(all), (std::vector<std::string>{"5", "7", "8"}));
    EXPECT_FALSE(all.more);
    JournalFile::Lines newest = journal.read(first, 2);
    EXPECT_EQ(sentOf(newest), (std::vector<std::string>{"7", "8"}));
    EXPECT_TRUE(newest.more);
}

TEST_F(DataFolderTest, ACutLastLineIsSkippedAndTheNextAppendStandsOnItsOwnLine)
{
    JournalFile journal(folder / "journal.jsonl");
    std::string problem;
    ASSERT_TRUE(journal.append(entry(1, "5"), problem));
    {
        // A program killed in the middle of a line.
        std::ofstream out(journal.path(), std::ios::binary | std::ios::app);
        out << R"({"serialNumber": 1, "parameter": "Fil)";
    }
    EXPECT_EQ(sentOf(journal.read(everyLine, 10)), std::vector<std::string>{"5"});
    ASSERT_TRUE(journal.append(entry(1, "6"), problem));
    EXPECT_EQ(sentOf(journal.read(everyLine, 10)), (std::vector<std::string>{"5", "6"}));
    const std::string text = contents(journal.path());
    EXPECT_NE(text.find("\"Fil\n{"), std::string::npos) << text;
    // Lines that are no JSON object are passed over too.
    {
        std::ofstream out(journal.path(), std::ios::binary | std::ios::app);
        out << "[1, 2]\n\n";
    }
    ASSERT_TRUE(journal.append(entry(1, "7"), problem));
    EXPECT_EQ(sentOf(journal.read(everyLine, 10)), (std::vector<std::string>{"5", "6", "7"}));
}

TEST_F(DataFolderTest, AHugeJournalIsReadFromItsEnd)
{
    JournalFile journal(folder / "journal.jsonl", 100);
    std::string problem;
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(journal.append(entry(1, std::to_string(i)), problem));
    const JournalFile::Lines read = journal.read(everyLine, 10);
    ASSERT_FALSE(read.lines.empty());
    EXPECT_LT(read.lines.size(), 10u);
    EXPECT_EQ(read.lines.back()["sent"], "9");
    EXPECT_TRUE(read.more);
}

TEST_F(DataFolderTest, AJournalThatCannotBeWrittenSaysSo)
{
    fs::create_directories(folder);
    std::ofstream(folder / "file") << "x";
    JournalFile journal(folder / "file" / "journal.jsonl");
    std::string problem;
    EXPECT_FALSE(journal.ready(problem));
    EXPECT_NE(problem.find("journal"), std::string::npos);
    problem.clear();
    EXPECT_FALSE(journal.append(entry(1, "5"), problem));
    EXPECT_NE(problem.find("journal"), std::string::npos);
}

TEST_F(DataFolderTest, AsFoundCopiesAreNamedBySerialAndTimeAndOnlyListedNamesAreRead)
{
    AsFoundCopies copies(folder);
    const auto at = std::chrono::sys_days(std::chrono::year{2024} / 5 / 14) + std::chrono::hours(9) +
                    std::chrono::minutes(30);
    std::string name, second, other, problem;
    ASSERT_TRUE(copies.save(240117, at, "{\"a\": 1}\n", name, problem)) << problem;
    ASSERT_TRUE(copies.save(240117, at, "{\"a\": 2}\n", second, problem)) << problem;
    ASSERT_TRUE(copies.save(240118, at + std::chrono::hours(1), "{}\n", other, problem)) << problem;
    EXPECT_EQ(name, "as-found-240117-20240514T093000Z.json");
    EXPECT_EQ(second, "as-found-240117-20240514T093000Z-2.json"); // the same second: never overwritten
    EXPECT_EQ(other, "as-found-240118-20240514T103000Z.json");
    std::ofstream(folder / "as-found-240117-notatime.json") << "{}";
    std::ofstream(folder / "journal.jsonl") << "{}\n";

    const std::vector<AsFoundCopies::Copy> listed = copies.list(240117);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].name, second);
    EXPECT_EQ(listed[1].name, name);
    EXPECT_EQ(listed[1].time, "2024-05-14T09:30:00Z");
    EXPECT_EQ(copies.read(240117, name), "{\"a\": 1}\n");
    for (const std::string& foreign : {other, std::string("journal.jsonl"), std::string("../" + name),
                                       std::string("as-found-240117-notatime.json")})
        EXPECT_FALSE(copies.read(240117, foreign)) << foreign;
    // No temporary file is left beside them.
    for (const auto& file : fs::directory_iterator(folder))
        EXPECT_NE(file.path().extension(), ".part");
}

TEST_F(DataFolderTest, AsFoundCopyThatCannotBeSavedSaysSo)
{
    fs::create_directories(folder);
    std::ofstream(folder / "file") << "x";
    AsFoundCopies copies(folder / "file");
    std::string name, problem;
    EXPECT_FALSE(copies.save(1, std::chrono::system_clock::now(), "{}", name, problem));
    EXPECT_NE(problem.find("cannot write"), std::string::npos);
}

TEST(DataFolderChoice, PerUserFolderFromTheEnvironment)
{
    const auto from = [](std::map<std::string, std::string> variables, bool windows) {
        return defaultDataFolder(
            [&variables](const char* name) {
                const auto found = variables.find(name);
                return found == variables.end() ? nullptr : found->second.c_str();
            },
            windows);
    };
    EXPECT_EQ(from({{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}}, false), fs::path("/data/dnx8"));
    // A relative or empty XDG_DATA_HOME does not count.
    EXPECT_EQ(from({{"XDG_DATA_HOME", "data"}, {"HOME", "/home/u"}}, false),
              fs::path("/home/u/.local/share/dnx8"));
    EXPECT_EQ(from({{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}}, false),
              fs::path("/home/u/.local/share/dnx8"));
    EXPECT_EQ(from({}, false), fs::path());
    EXPECT_EQ(from({{"LOCALAPPDATA", "C:/Users/u/AppData/Local"}, {"XDG_DATA_HOME", "/data"}}, true),
              fs::path("C:/Users/u/AppData/Local") / "dnx8");
    EXPECT_EQ(from({{"USERPROFILE", "C:/Users/u"}}, true),
              fs::path("C:/Users/u") / "AppData" / "Local" / "dnx8");
    EXPECT_EQ(from({{"HOME", "/home/u"}}, true), fs::path());
}

TEST_F(DataFolderTest, AFolderIsCheckedWithoutBeingMade)
{
    EXPECT_EQ(dataFolderProblem(folder / "a" / "b"), "");
    EXPECT_FALSE(fs::exists(folder)); // made at the first write
    fs::create_directories(folder);
    EXPECT_EQ(dataFolderProblem(folder), "");
    EXPECT_TRUE(fs::is_empty(folder)); // the probe is gone
    std::ofstream(folder / "file") << "x";
    EXPECT_NE(dataFolderProblem(folder / "file").find("not a folder"), std::string::npos);
    EXPECT_NE(dataFolderProblem(folder / "file" / "dnx8").find("not a folder"), std::string::npos);
    EXPECT_NE(dataFolderProblem({}).find("--data"), std::string::npos);
}

} // namespace
