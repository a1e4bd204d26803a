#include "linearization/LinearizationDialog.h"

#include "framework/ComboBox.h"
#include "framework/RadioButton.h"
#include "framework/ValueDisplay.h"
#include "linearization/LinearSpline.h"
#include "linearization/PointSet.h"
#include "linearization/PolynomialFit.h"

#include <algorithm>
#include <string>

namespace {

constexpr int LowestOrder = 2;
constexpr int DefaultOrder = 5;

} // namespace

LinearizationDialog::LinearizationDialog(WindowObject* parent, PointSet& points)
    : DialogObject(parent, TemplateId), countText(MakeChild<ValueDisplay>(CountId)),
      minText(MakeChild<ValueDisplay>(MinId)), maxText(MakeChild<ValueDisplay>(MaxId)),
      polynomialButton(MakeChild<RadioButton>(PolynomialId)), splineButton(MakeChild<RadioButton>(SplineId)),
      orderList(MakeChild<ComboBox>(OrderListId, 0)), pointSet(points)
{
}

void LinearizationDialog::SetUp()
{
    DialogObject::SetUp();
    countText->SetInteger(pointSet.count);
    minText->SetRealAuto(pointSet.min);
    maxText->SetRealAuto(pointSet.max);
    polynomialButton->SetChecked();
    // A spline keeps at most MaxSplinePoints points; more would be dropped.
    if (pointSet.count > MaxSplinePoints)
        splineButton->DisableHandle();

    // n points determine a polynomial of order n - 1 at most.
    const int highestOrder = std::min(pointSet.count - 1, MaxPolynomialDegree);
    for (int order = LowestOrder; order <= highestOrder; ++order)
        orderList->AddString(std::to_string(order) + ". řádu");
    orderList->SetCurSel(std::min(highestOrder, DefaultOrder) - LowestOrder);
}

void LinearizationDialog::OnChildNotification(WindowMessage& msg, int id)
{
    if (id == PolynomialId) {
        orderList->EnableHandle();
        method = 0;
    } else if (id == SplineId) {
        orderList->DisableHandle();
        method = 1;
    } else {
        DialogObject::OnChildNotification(msg, id);
    }
}

void LinearizationDialog::Accept(WindowMessage& msg)
{
    pointSet.method = method;
    pointSet.order = static_cast<std::uint8_t>(orderList->GetCurSel() + LowestOrder);
    DialogObject::Accept(msg);
}
