// The import flow under Wine, with its point file handed in instead of
// chosen in the open-file dialog (which has a test of its own).
#include "TempPointFile.h"

#include "framework/Application.h"
#include "framework/StaticText.h"
#include "framework/Window.h"
#include "linearization/win32/LinearizationDialog.h"
#include "linearization/win32/LinearizationImport.h"
#include "linearization/LinearizationTable.h"
#include "tests/framework/DialogDriver.h"

#include <gtest/gtest.h>

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using D = LinearizationDialog;

// y = 2 + 3x, with a comment, a repeated x and a remark column.
constexpr std::string_view LineFile = "; kalibrace\n0 2\n1 5 pozn.\n2\t8\n3 11\n3 11\n";

bool SameTable(const LinearizationTable& a, const LinearizationTable& b)
{
    return std::memcmp(a.segments, b.segments, sizeof a.segments) == 0 &&
           std::memcmp(a.coefficients, b.coefficients, sizeof a.coefficients) == 0 && a.min == b.min &&
           a.max == b.max && a.segmentCount == b.segmentCount && a.polynomialDegree == b.polynomialDegree;
}

// Acts in the linearization dialog: picks the method (1 spline) and the
// order index, then OK.
DialogDriver::Step Choose(int method, int orderIndex, std::string* countShown = nullptr)
{
    return [=](DialogView& d) {
        if (countShown != nullptr)
            *countShown = d.text(D::CountId);
        d.choose(D::OrderListId, orderIndex);
        if (method == 1)
            d.click(D::SplineId);
        d.ok();
    };
}

DialogDriver::Step ExpectError(std::string text)
{
    return [text](DialogView& box) {
        EXPECT_EQ(box.caption(), "DNX8 config");
        EXPECT_EQ(box.message(), text);
        EXPECT_TRUE(box.showsIcon());
        EXPECT_EQ(box.buttons(), std::vector<int>{IDOK});
        box.ok();
    };
}

// The table as an earlier import left it; a failed import keeps it so.
void FillEarlierImport(LinearizationTable& table)
{
    table.segmentCount = 1;
    table.segments[0] = {1.0f, 0.5f, 0.0f, 0.0f, -1.0f};
    table.min = -1.0f;
    table.max = 4.0f;
}

const std::string EarlierFileName = "dřívější.txt";

class LinearizationImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainWindow = new Window(nullptr, "DNX8 config");
        fileNameText = mainWindow->MakeChild<StaticText>("", 10, 10, 200, 20, 0, 0);
        ASSERT_TRUE(mainWindow->Realize());
        mainWindow->ShowHandle(SW_SHOWNOACTIVATE);
        fileNameText->SetText(EarlierFileName);
        FillEarlierImport(table);
        FillEarlierImport(earlier);
    }
    void TearDown() override { mainWindow->Free(); }

    // Runs the import on file; the steps work the windows it opens.
    void import(const std::filesystem::path& file, std::vector<DialogDriver::Step> steps)
    {
        DialogDriver driver(std::move(steps));
        importLinearization(*mainWindow, table, *fileNameText, [&](HWND owner, FileName& chosen) {
            ownerSeen = owner;
            chosen = file;
            return true;
        });
        stepsTaken = driver.stepsTaken();
        unexpected = driver.unexpected();
    }

    bool unchanged() const { return SameTable(table, earlier) && fileNameText->GetText() == EarlierFileName; }

    Application application{"DNX8 config"};
    Window* mainWindow = nullptr;
    StaticText* fileNameText = nullptr;
    LinearizationTable table;
    LinearizationTable earlier;
    HWND ownerSeen = nullptr;
    int stepsTaken = 0;
    std::vector<std::string> unexpected;
};

} // namespace

TEST_F(LinearizationImportTest, PolynomialFromAFileWithCzechNameShowsOnlyItsName)
{
    TempPointFile file(LineFile, u8"Kalibrace čidla – řádek.txt");
    std::string countShown;
    import(file.path(), {Choose(0, 0, &countShown)});
    EXPECT_EQ(stepsTaken, 1);
    EXPECT_TRUE(unexpected.empty());
    EXPECT_EQ(ownerSeen, mainWindow->Handle());
    EXPECT_EQ(countShown, "5"); // the repeated x counts

    EXPECT_EQ(table.polynomialDegree, 2);
    EXPECT_EQ(table.segmentCount, 0);
    EXPECT_NEAR(table.coefficients[0], 2.0f, 1e-4);
    EXPECT_NEAR(table.coefficients[1], 3.0f, 1e-4);
    EXPECT_NEAR(table.coefficients[2], 0.0f, 1e-4);
    EXPECT_EQ(table.min, 0.0f);
    EXPECT_EQ(table.max, 3.0f);
    EXPECT_EQ(fileNameText->GetText(), "Kalibrace čidla – řádek.txt");
}

TEST_F(LinearizationImportTest, SplineKeepsTheRangeOfAllLines)
{
    TempPointFile file("5 0\n-2 100\n3 -7\n3 9\n", u8"spline.txt");
    import(file.path(), {Choose(1, 0)});
    EXPECT_EQ(stepsTaken, 1);
    EXPECT_EQ(table.polynomialDegree, 0);
    ASSERT_EQ(table.segmentCount, 2);
    EXPECT_EQ(table.segments[0].x0, -2.0f);
    EXPECT_EQ(table.segments[1].x0, 3.0f);
    EXPECT_EQ(table.min, -2.0f);
    EXPECT_EQ(table.max, 5.0f);
    EXPECT_EQ(fileNameText->GetText(), "spline.txt");
}

TEST_F(LinearizationImportTest, TooFewPointsAreRefusedBeforeTheDialog)
{
    TempPointFile twoPoints("; dva body\n\n1 1\n2 4\n1,5 2\n", u8"málo.txt");
    TempPointFile empty("", u8"prázdný.txt");
    for (const std::filesystem::path& path : {twoPoints.path(), empty.path(), MissingFile()}) {
        SCOPED_TRACE(path.string());
        import(path, {ExpectError("Soubor neobsahuje dostatek bodů.")});
        EXPECT_EQ(stepsTaken, 1);
        EXPECT_TRUE(unexpected.empty()); // no linearization dialog
        EXPECT_TRUE(unchanged());
    }
}

TEST_F(LinearizationImportTest, CancelledChoiceOrDialogChangesNothing)
{
    {
        DialogDriver driver({});
        importLinearization(*mainWindow, table, *fileNameText, [](HWND, FileName&) { return false; });
        EXPECT_TRUE(driver.unexpected().empty());
        EXPECT_TRUE(unchanged());
    }
    TempPointFile file(LineFile);
    const DialogDriver::Step escape = [](DialogView& d) { d.escape(); };
    import(file.path(), {escape});
    EXPECT_EQ(stepsTaken, 1);
    EXPECT_TRUE(unexpected.empty());
    EXPECT_TRUE(unchanged());
}

TEST_F(LinearizationImportTest, FailedBuildIsReportedAndKeepsTheEarlierImport)
{
    // Three points on one x: no polynomial of order 2 goes through them.
    TempPointFile oneX("1 1\n1 2\n1 3\n", u8"svislá.txt");
    import(oneX.path(), {Choose(0, 0), ExpectError("Chyba při zpracování.")});
    EXPECT_EQ(stepsTaken, 2);
    EXPECT_TRUE(unexpected.empty());
    EXPECT_TRUE(unchanged());

    // Gone between the two readings.
    auto vanishing = std::make_unique<TempPointFile>(LineFile);
    const DialogDriver::Step removeThenChoose = [&](DialogView& d) {
        vanishing.reset();
        Choose(1, 0)(d);
    };
    import(vanishing->path(), {removeThenChoose, ExpectError("Chyba při zpracování.")});
    EXPECT_EQ(stepsTaken, 2);
    EXPECT_TRUE(unchanged());
}

TEST_F(LinearizationImportTest, OpenFileDialogReturnsTheTypedWidePath)
{
    TempPointFile file(LineFile, u8"Teploměr č. 2.txt");
    FileName chosen;
    std::string filter;
    DialogDriver driver({[&](DialogView& d) {
        // The file name box of the explorer-style dialog (edt1 or cmb13).
        const int name = GetDlgItem(d.handle(), edt1) != nullptr ? edt1 : cmb13;
        filter = d.text(cmb1);
        const std::u8string path = file.path().u8string();
        d.type(name, std::string(path.begin(), path.end()));
        d.ok();
    }});
    EXPECT_TRUE(choosePointFile(mainWindow->Handle(), chosen));
    EXPECT_EQ(driver.stepsTaken(), 1);
    EXPECT_EQ(filter, "Textový soubor");
    const std::filesystem::path chosenPath = chosen.native();
    EXPECT_TRUE(std::filesystem::equivalent(chosenPath, file.path()));
    EXPECT_EQ(chosenPath.filename(), file.path().filename());

    DialogDriver cancelled({[](DialogView& d) { d.click(IDCANCEL); }});
    EXPECT_FALSE(choosePointFile(mainWindow->Handle(), chosen));
}
