#include "inputs/RtdCatalog.h"

#include "inputs/PlatinumRtd.h"
#include "inputs/ThermocoupleCurve.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// A curve keeps a reference to its table: a temporary table must not bind.
static_assert(std::is_constructible_v<PlatinumRtd, const RtdCurve::Data&>);
static_assert(!std::is_constructible_v<PlatinumRtd, RtdCurve::Data>);
static_assert(!std::is_constructible_v<ThermocoupleCurve, ThermocoupleCurve::Data>);

struct RtdExpectation {
    std::string name;
    int degree;
    int tmin, tmax;
    double r0;
    std::vector<std::uint32_t> bits; // c0..c<degree>
    double inversionTolerance;       // degrees C
};

// Catalog order; bit patterns as converters report them.
// clang-format off
const std::vector<RtdExpectation> Expected = {
    {"Pt 100 (3850)", 5, -200, 850, 100.0,
     {0xC372CA74, 0x40112AEB, 0x3B031A90, 0xB6B295B2, 0x3265096B, 0xAD3082CB}, 0.19},
    {"Ni 100 (5000)", 4, -60, 250, 100.0, {0xC39803EB, 0x40811F8C, 0xBC4A220E, 0x37DD7A42, 0xB2D84C7E}, 0.02},
    {"Ni 100 (6180)", 5, -60, 250, 100.0,
     {0xC3750477, 0x4057B3BB, 0xBC5663D2, 0x384DF821, 0xB3F437BE, 0x2EF1E321}, 0.07},
    {"Pt 1000 (3850)", 5, -200, 850, 1000.0,
     {0xC372CA74, 0x3E6844AB, 0x37A7D014, 0xB1B6DEEC, 0x2BBBA07F, 0xA4E75B3B}, 0.19},
    {"Ni 1000 (5000)", 4, -60, 250, 1000.0, {0xC39803EB, 0x3ECE98E0, 0xB9015D7A, 0x32E2CB04, 0xAC313125}, 0.02},
    {"Ni 1000 (6180)", 5, -60, 250, 1000.0,
     {0xC3750477, 0x3EAC8FC9, 0xB90935A5, 0x3352E99B, 0xAD48102C, 0x269E85F1}, 0.07},
};
// clang-format on

double Evaluate(const SensorCurve::Coefficients& c, double x)
{
    double y = 0.0;
    for (auto it = c.rbegin(); it != c.rend(); ++it)
        y = y * x + *it;
    return y;
}

} // namespace

TEST(RtdCatalog, HoldsTheSixTypesInOrderAndCannotGrow)
{
    RtdCatalog catalog;
    EXPECT_EQ(catalog.Capacity(), 10);
    EXPECT_EQ(catalog.GrowBy(), 0);
    ASSERT_EQ(catalog.Count(), static_cast<int>(Expected.size()));
    for (int i = 0; i < catalog.Count(); ++i) {
        const RtdExpectation& want = Expected[static_cast<std::size_t>(i)];
        const RtdCurve* curve = catalog.At(i);
        SCOPED_TRACE(want.name);
        EXPECT_EQ(curve->name(), want.name);
        EXPECT_EQ(curve->degree(), want.degree);
        EXPECT_EQ(curve->curveDegree(), want.degree);
        EXPECT_EQ(curve->tmin(), want.tmin);
        EXPECT_EQ(curve->tmax(), want.tmax);
        EXPECT_EQ(curve->r0(), want.r0);
        EXPECT_EQ(&curve->polynomial(), &curve->curveCoefficients());
    }
    EXPECT_STREQ(catalog.At(RtdCatalog::DefaultIndex)->name(), "Pt 100 (3850)");
}

TEST(RtdCatalog, PolynomialsHaveTheirExactBitPatterns)
{
    RtdCatalog catalog;
    for (int i = 0; i < catalog.Count(); ++i) {
        const RtdExpectation& want = Expected[static_cast<std::size_t>(i)];
        const auto& c = catalog.At(i)->polynomial();
        SCOPED_TRACE(want.name);
        for (std::size_t k = 0; k < c.size(); ++k) {
            const std::uint32_t expected = k < want.bits.size() ? want.bits[k] : 0u; // +0 above the degree
            EXPECT_EQ(std::bit_cast<std::uint32_t>(c[k]), expected) << "c" << k;
        }
    }
}

TEST(RtdCatalog, ResistanceAtTheRangeEnds)
{
    RtdCatalog catalog;
    struct End {
        int index;
        float t;
        double ohms;
    };
    const End ends[] = {
        {0, -200.0f, 18.520}, {0, 850.0f, 390.481}, {1, -60.0f, 75.179},
        {1, 250.0f, 251.727}, {2, -60.0f, 69.520},  {2, 250.0f, 289.156},
    };
    for (const End& e : ends) {
        const RtdCurve* small = catalog.At(e.index);
        const RtdCurve* large = catalog.At(e.index + 3);
        SCOPED_TRACE(std::string(small->name()) + " at " + std::to_string(e.t));
        EXPECT_NEAR(small->ResistanceAt(e.t), e.ohms, 0.0005);
        EXPECT_NEAR(large->ResistanceAt(e.t), 10.0 * e.ohms, 0.005);
    }
}

TEST(RtdCatalog, PlatinumAtZeroAndNotANumber)
{
    RtdCatalog catalog;
    EXPECT_EQ(catalog.At(0)->ResistanceAt(0.0f), 100.0f);
    EXPECT_EQ(catalog.At(3)->ResistanceAt(0.0f), 1000.0f);
    EXPECT_EQ(catalog.At(0)->ResistanceAt(-0.0f), 100.0f);
    EXPECT_TRUE(std::isnan(catalog.At(0)->ResistanceAt(std::numeric_limits<float>::quiet_NaN())));
    // Just below 0 the cubic term is negligible: no step at the branch.
    EXPECT_NEAR(catalog.At(0)->ResistanceAt(-0.001f), 100.0f, 0.001);
}

TEST(RtdCatalog, EachPolynomialInvertsItsResistanceOverTheRange)
{
    RtdCatalog catalog;
    for (int i = 0; i < catalog.Count(); ++i) {
        const RtdCurve* curve = catalog.At(i);
        const double tolerance = Expected[static_cast<std::size_t>(i)].inversionTolerance;
        SCOPED_TRACE(curve->name());
        double worst = 0.0;
        for (int quarter = 4 * curve->tmin(); quarter <= 4 * curve->tmax(); ++quarter) {
            const double t = quarter / 4.0;
            const float r = curve->ResistanceAt(static_cast<float>(t));
            worst = std::max(worst, std::abs(Evaluate(curve->polynomial(), r) - t));
        }
        EXPECT_LT(worst, tolerance);
    }
}
