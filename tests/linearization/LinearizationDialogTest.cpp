// The linearization dialog under Wine: what it shows for a point file and
// what reaches the PointSet.
#include "DialogDriver.h"

#include "framework/Application.h"
#include "framework/TextEntry.h"
#include "framework/WideText.h"
#include "linearization/LinearizationDialog.h"
#include "linearization/PointSet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using D = LinearizationDialog;

std::vector<std::string> OrderEntries(HWND dialog)
{
    HWND list = GetDlgItem(dialog, D::OrderListId);
    std::vector<std::string> entries;
    const auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[32] = {};
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(Narrow(text));
    }
    return entries;
}

int Selection(HWND dialog)
{
    return static_cast<int>(SendDlgItemMessageW(dialog, D::OrderListId, CB_GETCURSEL, 0, 0));
}

bool Checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool Enabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// A dialog realised modeless over a point set; freed unless OK closed it.
class ModelessDialog {
public:
    explicit ModelessDialog(PointSet& points) : dialog(new LinearizationDialog(nullptr, points))
    {
        realized = dialog->Realize();
        handle = dialog->Handle();
        ShowWindow(handle, SW_SHOWNOACTIVATE);
    }
    ~ModelessDialog()
    {
        if (IsWindow(handle))
            dialog->Free();
    }
    void click(int id) const { SendMessageW(GetDlgItem(handle, id), BM_CLICK, 0, 0); }
    void select(int index) const { SendDlgItemMessageW(handle, D::OrderListId, CB_SETCURSEL, index, 0); }

    LinearizationDialog* dialog;
    HWND handle = nullptr;
    bool realized = false;
};

PointSet Points(int count)
{
    PointSet points;
    points.count = count;
    points.min = -2.0f;
    points.max = 1234.5f;
    return points;
}

class LinearizationDialogTest : public ::testing::Test {
protected:
    Application application{"DNX8 config"};
};

} // namespace

TEST_F(LinearizationDialogTest, ShowsThePointsAndOffersOrdersBelowTheirCount)
{
    struct Case {
        int count;
        int highestOrder;
        int selected; // index of the default order
        bool splineOffered;
    };
    const Case cases[] = {
        {3, 2, 0, true},  {4, 3, 1, true},   {6, 5, 3, true},       {7, 6, 3, true},
        {21, 9, 3, true}, {22, 9, 3, false}, {100000, 9, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        PointSet points = Points(c.count);
        ModelessDialog m(points);
        ASSERT_TRUE(m.realized);
        HWND h = m.handle;

        EXPECT_EQ(ReadWindowText(h), "Linearizace");
        EXPECT_EQ(ReadWindowText(GetDlgItem(h, D::CountId)), std::to_string(c.count));
        EXPECT_EQ(ReadWindowText(GetDlgItem(h, D::MinId)), "-2.000000000E+00");
        EXPECT_EQ(ReadWindowText(GetDlgItem(h, D::MaxId)), "1.234500000E+03");

        std::vector<std::string> expected;
        for (int order = 2; order <= c.highestOrder; ++order)
            expected.push_back(std::to_string(order) + ". řádu");
        EXPECT_EQ(OrderEntries(h), expected);
        EXPECT_EQ(Selection(h), c.selected);

        EXPECT_TRUE(Checked(h, D::PolynomialId));
        EXPECT_FALSE(Checked(h, D::SplineId));
        EXPECT_EQ(Enabled(h, D::SplineId), c.splineOffered);
        EXPECT_TRUE(Enabled(h, D::OrderListId));
    }
}

TEST_F(LinearizationDialogTest, TemplateTexts)
{
    PointSet points = Points(5);
    ModelessDialog m(points);
    ASSERT_TRUE(m.realized);
    EXPECT_EQ(ReadWindowText(GetDlgItem(m.handle, D::PolynomialId)), "Aproximační polynom");
    EXPECT_EQ(ReadWindowText(GetDlgItem(m.handle, D::SplineId)), "Lineární spline");
    EXPECT_EQ(ReadWindowText(GetDlgItem(m.handle, IDOK)), "OK");
    std::vector<std::string> labels;
    for (HWND c = GetWindow(m.handle, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        if (GetDlgCtrlID(c) == -1 || GetDlgCtrlID(c) == 0xFFFF)
            labels.push_back(ReadWindowText(c));
    EXPECT_EQ(labels, (std::vector<std::string>{"Bodů:", "Min:", "Max:", "Metoda:"}));
}

TEST_F(LinearizationDialogTest, MethodButtonsSwitchTheOrderListAndOkStoresTheChoice)
{
    PointSet points = Points(8);
    ModelessDialog m(points);
    ASSERT_TRUE(m.realized);

    m.click(D::SplineId);
    EXPECT_FALSE(Enabled(m.handle, D::OrderListId));
    EXPECT_FALSE(Checked(m.handle, D::PolynomialId));
    m.click(D::PolynomialId);
    EXPECT_TRUE(Enabled(m.handle, D::OrderListId));
    EXPECT_EQ(points.method, 0);
    EXPECT_EQ(points.order, 0); // nothing before OK

    m.select(1);
    m.click(D::SplineId);
    m.click(IDOK);
    EXPECT_FALSE(IsWindow(m.handle));
    EXPECT_EQ(points.method, 1);
    EXPECT_EQ(points.order, 3); // the list's order, also for the spline
    EXPECT_EQ(points.count, 8);
}

TEST_F(LinearizationDialogTest, OkWithoutChangesTakesTheDefaultPolynomial)
{
    PointSet points = Points(30);
    points.method = 1; // an earlier value is overwritten
    ModelessDialog m(points);
    ASSERT_TRUE(m.realized);
    m.click(IDOK);
    EXPECT_EQ(points.method, 0);
    EXPECT_EQ(points.order, 5);
}

TEST_F(LinearizationDialogTest, ModalRunEndsWithOkOnlyThroughTheOkButton)
{
    struct Way {
        const char* name;
        DialogDriver::Step act;
        int result;
    };
    const Way ways[] = {
        {"OK", [](HWND h) { PressButton(h, IDOK); }, IDOK},
        {"Escape", [](HWND h) { PressEscape(h); }, IDCANCEL},
        {"close box", [](HWND h) { PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        PointSet points = Points(10);
        DialogDriver driver({[&](HWND h) {
            PostMessageW(GetDlgItem(h, D::SplineId), BM_CLICK, 0, 0);
            way.act(h);
        }});
        EXPECT_EQ(application.RunModal(std::make_unique<LinearizationDialog>(nullptr, points)), way.result);
        EXPECT_EQ(driver.stepsTaken(), 1);
        EXPECT_TRUE(driver.unexpected().empty());
        if (way.result == IDOK) {
            EXPECT_EQ(points.method, 1);
            EXPECT_EQ(points.order, 5);
        } else {
            EXPECT_EQ(points.method, 0);
            EXPECT_EQ(points.order, 0);
        }
    }
}
