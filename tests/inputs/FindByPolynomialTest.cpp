#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(FindByPolynomial, RecognisesEveryTypeByItsOwnPolynomial)
{
    RtdCatalog rtds;
    for (int i = 0; i < rtds.Count(); ++i) {
        const RtdCurve* curve = rtds.At(i);
        EXPECT_EQ(rtds.FindByPolynomial(static_cast<std::uint8_t>(curve->degree()), curve->polynomial()),
                  curve)
            << curve->name();
    }
    ThermocoupleCatalog thermocouples;
    for (int i = 0; i < thermocouples.Count(); ++i) {
        const ThermocoupleCurve* curve = thermocouples.At(i);
        EXPECT_EQ(thermocouples.FindByPolynomial(curve->cjDegree(), curve->cjPolynomial()), curve)
            << curve->name();
    }
}

TEST(FindByPolynomial, TellsPt1000FromPt100)
{
    RtdCatalog rtds;
    const RtdCurve* found = rtds.FindByPolynomial(5, rtds.At(3)->polynomial());
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found->name(), "Pt 1000 (3850)");
}

TEST(FindByPolynomial, RejectsWrongDegreeZerosAndNaN)
{
    RtdCatalog rtds;
    ThermocoupleCatalog thermocouples;
    const SensorCurve::Coefficients pt100 = rtds.At(0)->polynomial();
    EXPECT_EQ(rtds.FindByPolynomial(4, pt100), nullptr);
    EXPECT_EQ(rtds.FindByPolynomial(5, SensorCurve::Coefficients{}), nullptr);
    EXPECT_EQ(thermocouples.FindByPolynomial(3, SensorCurve::Coefficients{}), nullptr);
    EXPECT_EQ(thermocouples.FindByPolynomial(0, SensorCurve::Coefficients{}), nullptr);

    // A converter echoes exactly what was written; one bit off is another curve.
    SensorCurve::Coefficients nudged = pt100;
    nudged[5] = std::nextafter(nudged[5], 0.0f);
    EXPECT_EQ(rtds.FindByPolynomial(5, nudged), nullptr);

    SensorCurve::Coefficients withNaN = pt100;
    withNaN[9] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(rtds.FindByPolynomial(5, withNaN), nullptr);
}

TEST(FindByPolynomial, NegativeZeroMatchesZero)
{
    RtdCatalog rtds;
    SensorCurve::Coefficients reported = rtds.At(1)->polynomial(); // degree 4: c5..c9 are +0
    for (std::size_t k = 5; k < reported.size(); ++k)
        reported[k] = -0.0f;
    EXPECT_EQ(rtds.FindByPolynomial(4, reported), rtds.At(1));

    ThermocoupleCatalog thermocouples;
    SensorCurve::Coefficients k = thermocouples.At(3)->cjPolynomial();
    k[9] = -0.0f;
    EXPECT_EQ(thermocouples.FindByPolynomial(3, k), thermocouples.At(3));
}
