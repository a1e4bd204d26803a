#pragma once

#include "framework/DialogObject.h"

#include <cstdint>

class ComboBox;
class RadioButton;
class ValueDisplay;
struct PointSet;

// "Linearizace": shows the count and x range of a point file and lets the
// user pick polynomial approximation (with its order) or a linear spline.
// The choice reaches the PointSet only on OK. Expects a count of at least 3,
// so that the order list is never empty.
class LinearizationDialog : public DialogObject {
public:
    static constexpr int TemplateId = 5;
    static constexpr int CountId = 101;
    static constexpr int MinId = 102;
    static constexpr int MaxId = 103;
    static constexpr int PolynomialId = 104;
    static constexpr int SplineId = 105;
    static constexpr int OrderListId = 106;

    LinearizationDialog(WindowObject* parent, PointSet& pointSet);

    void SetUp() override;
    void OnChildNotification(WindowMessage& msg, int id) override;
    void Accept(WindowMessage& msg) override;

private:
    ValueDisplay* countText;
    ValueDisplay* minText;
    ValueDisplay* maxText;
    RadioButton* polynomialButton;
    RadioButton* splineButton;
    ComboBox* orderList;
    PointSet& pointSet;
    std::uint8_t method = 0;
};
