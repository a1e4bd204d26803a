#include "linearization/win32/LinearizationDialog.h"

#include "framework/ComboBox.h"
#include "framework/RadioButton.h"
#include "framework/ValueDisplay.h"
#include "linearization/FitOffer.h"
#include "linearization/PointSet.h"

#include <string>

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
    if (!fit_offer::splineOffered(pointSet.count))
        splineButton->DisableHandle();
    for (int order = fit_offer::LowestOrder; order <= fit_offer::highestOrder(pointSet.count); ++order)
        orderList->AddString(std::to_string(order) + ". řádu");
    orderList->SetCurSel(fit_offer::preselectedOrder(pointSet.count) - fit_offer::LowestOrder);
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
    pointSet.order = static_cast<std::uint8_t>(orderList->GetCurSel() + fit_offer::LowestOrder);
    DialogObject::Accept(msg);
}
