// The linearization dialog under Wine: what it shows for a point file and
// what reaches the PointSet.
#include "framework/Application.h"
#include "framework/TextEntry.h"
#include "linearization/win32/LinearizationDialog.h"
#include "linearization/PointSet.h"
#include "tests/framework/DialogDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using D = LinearizationDialog;

// A dialog realised modeless over a point set; freed unless OK closed it.
class ModelessDialog {
public:
    explicit ModelessDialog(PointSet& points)
        : dialog(new LinearizationDialog(nullptr, points)), realized(dialog->Realize()),
          view(dialog->Handle())
    {
        ShowWindow(view.handle(), SW_SHOWNOACTIVATE);
    }
    ~ModelessDialog()
    {
        if (IsWindow(view.handle()))
            dialog->Free();
    }

    LinearizationDialog* dialog;
    bool realized;
    DialogView view;
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
        const DialogView& d = m.view;

        EXPECT_EQ(d.caption(), "Linearizace");
        EXPECT_EQ(d.text(D::CountId), std::to_string(c.count));
        EXPECT_EQ(d.text(D::MinId), "-2.000000000E+00");
        EXPECT_EQ(d.text(D::MaxId), "1.234500000E+03");

        std::vector<std::string> expected;
        for (int order = 2; order <= c.highestOrder; ++order)
            expected.push_back(std::to_string(order) + ". řádu");
        EXPECT_EQ(d.entries(D::OrderListId), expected);
        EXPECT_EQ(d.selection(D::OrderListId), c.selected);

        EXPECT_TRUE(d.checked(D::PolynomialId));
        EXPECT_FALSE(d.checked(D::SplineId));
        EXPECT_EQ(d.enabled(D::SplineId), c.splineOffered);
        EXPECT_TRUE(d.enabled(D::OrderListId));
    }
}

TEST_F(LinearizationDialogTest, TemplateTexts)
{
    PointSet points = Points(5);
    ModelessDialog m(points);
    ASSERT_TRUE(m.realized);
    EXPECT_EQ(m.view.text(D::PolynomialId), "Aproximační polynom");
    EXPECT_EQ(m.view.text(D::SplineId), "Lineární spline");
    EXPECT_EQ(m.view.text(IDOK), "OK");
    std::vector<std::string> labels;
    for (HWND c = GetWindow(m.view.handle(), GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        if (GetDlgCtrlID(c) == -1 || GetDlgCtrlID(c) == 0xFFFF)
            labels.push_back(ReadWindowText(c));
    EXPECT_EQ(labels, (std::vector<std::string>{"Bodů:", "Min:", "Max:", "Metoda:"}));
}

TEST_F(LinearizationDialogTest, MethodButtonsSwitchTheOrderListAndOkStoresTheChoice)
{
    PointSet points = Points(8);
    ModelessDialog m(points);
    ASSERT_TRUE(m.realized);

    const DialogView& d = m.view;
    d.click(D::SplineId);
    EXPECT_FALSE(d.enabled(D::OrderListId));
    EXPECT_FALSE(d.checked(D::PolynomialId));
    d.click(D::PolynomialId);
    EXPECT_TRUE(d.enabled(D::OrderListId));
    EXPECT_EQ(points.method, 0);
    EXPECT_EQ(points.order, 0); // nothing before OK

    d.choose(D::OrderListId, 1);
    d.click(D::SplineId);
    d.ok();
    EXPECT_FALSE(IsWindow(d.handle()));
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
    m.view.ok();
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
        {"OK", [](DialogView& d) { d.ok(); }, IDOK},
        {"Escape", [](DialogView& d) { d.escape(); }, IDCANCEL},
        {"close box", [](DialogView& d) { d.cancel(); }, IDCANCEL},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        PointSet points = Points(10);
        DialogDriver driver({[&](DialogView& d) {
            d.click(D::SplineId);
            way.act(d);
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
