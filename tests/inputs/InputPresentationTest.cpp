#include "inputs/InputPresentation.h"

#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class InputPresentationTest : public ::testing::Test {
protected:
    CurveReading curveOf(const SensorCurve& curve)
    {
        CurveReading reading;
        reading.degree = static_cast<std::uint8_t>(curve.curveDegree());
        std::copy(curve.curveCoefficients().begin(), curve.curveCoefficients().end(),
                  reading.coefficients.begin());
        return reading;
    }

    InputPresentation present(std::uint8_t code, std::optional<CurveReading> curve = std::nullopt)
    {
        return PresentInput(code, curve, rtds, thermocouples);
    }

    RtdCatalog rtds;
    ThermocoupleCatalog thermocouples;
};

TEST_F(InputPresentationTest, PlainInputsShowTheirKindAndText)
{
    struct Case {
        std::uint8_t code;
        int position;
        const char* text;
        const char* wiring;
    };
    for (const Case& c : {Case{0, 0, "InA (100 mV)", ""}, Case{2, 0, "10 V", ""},
                          Case{3, 1, "InA (externí bočník)", ""}, Case{4, 1, "20 mA", ""},
                          Case{10, 3, "Absolutní", "Čtyřdrát"}, Case{11, 3, "Relativní", "Třídrát+KS"}}) {
        InputPresentation shown = present(c.code);
        EXPECT_EQ(shown.listPosition, c.position) << int(c.code);
        EXPECT_EQ(shown.measurement, c.text) << int(c.code);
        EXPECT_EQ(shown.wiring, c.wiring) << int(c.code);
        // Only the resistance and thermocouple codes touch the sensors.
        EXPECT_FALSE(shown.rtdCurve.has_value());
        EXPECT_FALSE(shown.thermocoupleCurve.has_value());
    }
}

TEST_F(InputPresentationTest, ResistanceWithAStoredRtdPolynomialIsAThermometer)
{
    const RtdCurve* ni1000 = rtds.At(4);
    InputPresentation shown = present(7, curveOf(*ni1000));
    EXPECT_EQ(shown.listPosition, 4);
    EXPECT_EQ(shown.measurement, ni1000->name());
    EXPECT_EQ(shown.rtdCurve, ni1000);
    EXPECT_EQ(shown.wiring, "Třídrát");
}

TEST_F(InputPresentationTest, ResistanceWithoutAKnownPolynomialShowsItsConnection)
{
    CurveReading unknown = curveOf(*rtds.At(0));
    unknown.coefficients[1] += 1.0f;
    for (const std::optional<CurveReading>& curve :
         {std::optional<CurveReading>(unknown), std::optional<CurveReading>()}) {
        InputPresentation shown = present(8, curve);
        EXPECT_EQ(shown.listPosition, 2);
        EXPECT_EQ(shown.measurement, "Čtyřdrát");
        ASSERT_TRUE(shown.rtdCurve.has_value());
        EXPECT_EQ(*shown.rtdCurve, nullptr) << "the previous sensor is forgotten";
    }
}

TEST_F(InputPresentationTest, ThermocoupleIsRecognisedByItsColdJunctionPolynomial)
{
    const ThermocoupleCurve* typeK = thermocouples.At(3);
    InputPresentation shown = present(14, curveOf(*typeK));
    EXPECT_EQ(shown.listPosition, 5);
    EXPECT_EQ(shown.measurement, typeK->name());
    EXPECT_EQ(shown.thermocoupleCurve, typeK);
    EXPECT_EQ(shown.wiring, "Dvoudrátová kompenzace");
}

TEST_F(InputPresentationTest, UnknownThermocoupleKeepsTheTextAndForgetsTheSensor)
{
    CurveReading unknown = curveOf(*thermocouples.At(3));
    unknown.degree = 9;
    for (const std::optional<CurveReading>& curve :
         {std::optional<CurveReading>(unknown), std::optional<CurveReading>()}) {
        InputPresentation shown = present(13, curve);
        EXPECT_EQ(shown.listPosition, 5);
        EXPECT_FALSE(shown.measurement.has_value());
        ASSERT_TRUE(shown.thermocoupleCurve.has_value());
        EXPECT_EQ(*shown.thermocoupleCurve, nullptr);
    }
}

TEST_F(InputPresentationTest, CodesAbove15ChangeNothing)
{
    for (std::uint8_t code : {16, 200, 255}) {
        InputPresentation shown = present(code, curveOf(*rtds.At(0)));
        EXPECT_FALSE(shown.listPosition || shown.measurement || shown.rtdCurve || shown.thermocoupleCurve);
    }
}

} // namespace
