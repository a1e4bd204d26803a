// The commissioning record built from a reading, without a converter.
#include "report/CommissioningRecord.h"
#include "config/ConverterReading.h"
#include "report/ConverterCurve.h"
#include "inputs/SensorCatalogs.h"
#include "inputs/ThermocoupleCatalog.h"
#include "linearization/LinearizationTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// A reading of a converter whose input is code inputType with the given
// polynomial; everything else as a healthy converter answers.
ConverterReading Reading(std::uint8_t inputType, std::uint8_t degree, const CurveCoefficients& coefficients)
{
    ConverterReading r;
    r.identity = "DNX8";
    r.firmwareVersion = 0x0105;
    r.serialNumber = 240117;
    r.outputType = 0;
    r.relayOptions = 3;
    r.settings.curveDegree = degree;
    r.settings.curveCoefficients = coefficients;
    r.settings.inputType = inputType;
    r.settings.filter = 5;
    r.settings.scaleMin = 0;
    r.settings.scaleMax = 100;
    r.settings.errorSignalling = 0;
    r.live = LiveReading{1.5f, 2.5f, 3.5f, 0.5f};
    r.settings.relay1 = RelaySettings{};
    r.settings.relay2 = RelaySettings{};
    r.settings.divider = 1;
    r.settings.shunt = 1;
    r.settings.rangeMin = 0;
    r.settings.rangeMax = 10;
    r.settings.segmentCount = 0;
    r.input = PresentInput(inputType, CurveReading{degree, coefficients}, rtds(), thermocouples());
    return r;
}

int FailedRows(const RecordPage& page)
{
    int failed = 0;
    for (const auto& section : page.sections)
        for (const auto& row : section.rows)
            failed += row.failed;
    return failed;
}

bool HasRow(const RecordPage& page, const std::string& label, const std::string& value)
{
    for (const auto& section : page.sections)
        for (const auto& row : section.rows)
            if (row.label == label && row.value == value && !row.failed)
                return true;
    return false;
}

} // namespace

TEST(commissioningRecord, FailedReadsShowTheCommunicationErrorInTheirPlace)
{
    ConverterReading r;
    r.identity = "DNX8";
    r.serialNumber = 240117;
    const RecordPage page = commissioningRecord(r, {"/dev/ttyUSB0", "2024-05-14 09:30:00", nullptr, {}});
    // Firmware, output, relays; input, range min and max, filter, scale min
    // and max, divider and shunt (the kind is unknown); error state; the
    // four live values; both relays.
    EXPECT_EQ(FailedRows(page), 18);
    EXPECT_TRUE(HasRow(page, "Výrobní číslo", "240117"));
    EXPECT_TRUE(page.pictureFailed);
    EXPECT_TRUE(page.pictureSvg.empty());

    const std::string html = recordPageHtml(page);
    EXPECT_NE(html.find("<td class=\"failed\">Chyba komunikace</td>"), std::string::npos);
    EXPECT_NE(html.find("<p class=\"failed\">Chyba komunikace</p>"), std::string::npos);
}

TEST(commissioningRecord, ThermocoupleIsDrawnAsTemperatureAgainstEmfOverItsPieces)
{
    const auto* k = thermocouples().At(3);
    ASSERT_STREQ(k->name(), "K (Chromel-Alumel)");
    CurveCoefficients cj{};
    std::copy(k->cjPolynomial().begin(), k->cjPolynomial().end(), cj.begin());
    ConverterReading r = Reading(13, k->cjDegree(), cj);
    r.settings.rangeMin.reset(); // the catalog's EMF range stands in
    const ConverterCurve curve = chooseConverterCurve(r, nullptr, {});
    ASSERT_TRUE(curve.plot);
    EXPECT_FLOAT_EQ(curve.plot->min, k->emfMin());
    EXPECT_FLOAT_EQ(curve.plot->max, k->emfMax());
    EXPECT_EQ(curve.plot->breaks, (std::vector<double>{0.0, 20.644f}));
    // Each piece holds only over its own EMF range: the ends come out at the
    // type's temperatures, and inside the piece of the EMF is taken.
    EXPECT_NEAR(curve.plot->curve(k->emfMin()), -200, 0.1);
    EXPECT_NEAR(curve.plot->curve(k->emfMax()), 1372, 0.1);
    EXPECT_DOUBLE_EQ(curve.plot->curve(-3), k->range(0).temperatureAt(-3));
    EXPECT_DOUBLE_EQ(curve.plot->curve(10), k->range(1).temperatureAt(10));
    EXPECT_DOUBLE_EQ(curve.plot->curve(40), k->range(2).temperatureAt(40));
    EXPECT_GT(std::abs(k->range(1).temperatureAt(40) - curve.plot->curve(40)), 1);
    EXPECT_EQ(curve.notes.size(), 2u); // the pieces, and the range that could not be read
    EXPECT_TRUE(HasRow(commissioningRecord(r, {}), "Teplota", "-200 až 1372 °C"));
}

TEST(commissioningRecord, UserLinearizationIsDrawnAndComparedWithTheConverter)
{
    CurveCoefficients held{};
    held[0] = 1;
    held[1] = 2;
    held[2] = 0.5f;
    const ConverterReading r = Reading(0, 2, held); // voltage 100 mV
    const ConverterCurve own = chooseConverterCurve(r, nullptr, {});
    ASSERT_TRUE(own.plot);
    EXPECT_EQ(own.heading, "Uživatelská linearizace: aproximační polynom, 2. řádu");
    EXPECT_DOUBLE_EQ(own.plot->curve(4), 17);
    EXPECT_TRUE(HasRow(commissioningRecord(r, {}), "Linearizace", "Aproximační polynom, 2. řádu"));

    LinearizationTable file;
    file.polynomialDegree = 2;
    file.coefficients[0] = 1;
    file.coefficients[1] = 2;
    file.coefficients[2] = 0.5f;
    EXPECT_TRUE(chooseConverterCurve(r, &file, "body.txt").notes.empty());
    file.coefficients[2] = 0.25f;
    const ConverterCurve other = chooseConverterCurve(r, &file, "body.txt");
    ASSERT_EQ(other.notes.size(), 1u);
    EXPECT_NE(other.notes[0].find("liší"), std::string::npos);
    EXPECT_DOUBLE_EQ(other.plot->curve(4), 13); // the file's fit is what is drawn

    ConverterReading segments = r;
    segments.settings.curveDegree = 0;
    segments.settings.segmentCount = 12;
    const ConverterCurve unknown = chooseConverterCurve(segments, nullptr, {});
    EXPECT_FALSE(unknown.plot); // segments cannot be read back
    EXPECT_FALSE(unknown.failed);
}
