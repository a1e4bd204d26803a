// The commissioning record built from a reading, without a converter.
#include "report/CommissioningRecord.h"
#include "report/RecordParticulars.h"
#include "config/ConverterReading.h"
#include "report/ConverterCurve.h"
#include "inputs/SensorCatalogs.h"
#include "inputs/ThermocoupleCatalog.h"
#include "linearization/LinearizationTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

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
    const RecordPage page = commissioningRecord(r, {"/dev/ttyUSB0", "2024-05-14 09:30:00", nullptr, {}, {}});
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

TEST(recordParticulars, AnyUtf8TextThatFitsIsTakenTidiedAndTheRestRefused)
{
    const RecordParticulars::Field& tag = ParticularsFields[0];
    const RecordParticulars::Field& note = ParticularsFields[3];
    ASSERT_EQ(std::string(tag.name), "tag");
    ASSERT_EQ(std::string(note.name), "note");

    std::string text = "  TT-101 <Čerpadlo> & \"Jih\" 🌡  ";
    EXPECT_EQ(particularsProblem(tag, text), "");
    EXPECT_EQ(text, "TT-101 <Čerpadlo> & \"Jih\" 🌡");

    // The limit counts characters, not bytes: 40 two-byte letters fit.
    std::string czech;
    for (int i = 0; i < 40; ++i)
        czech += "ř";
    EXPECT_EQ(particularsProblem(tag, czech), "");
    czech += "x";
    EXPECT_NE(particularsProblem(tag, czech).find("41 characters; at most 40"), std::string::npos);

    text = "\r\n\n  first line  \r\nsecond\rthird\n\n";
    EXPECT_EQ(particularsProblem(note, text), "");
    EXPECT_EQ(text, "first line\nsecond\nthird");
    text = "1\n2\n3\n4\n5\n6";
    EXPECT_NE(particularsProblem(note, text).find("6 lines; at most 4"), std::string::npos);
    EXPECT_EQ(text, "1\n2\n3\n4\n5\n6"); // untouched when refused

    const std::pair<std::string, std::string> refused[] = {
        {"TT\n101", "line break"},
        {"TT\t101", "control character"},
        {std::string("TT\0" "101", 6), "control character"},
        {"TT\x7F", "control character"},
        {"TT\xC2\x85", "control character"}, // U+0085, next line
        {"TT\xFF", "no UTF-8"},
        {"TT\xC3", "no UTF-8"},         // cut sequence
        {"\xC0\xAF", "no UTF-8"},       // overlong "/"
        {"\xED\xA0\x80", "no UTF-8"},   // a surrogate
    };
    for (const auto& [given, why] : refused) {
        std::string value = given;
        EXPECT_NE(particularsProblem(tag, value).find(why), std::string::npos) << why;
    }
    std::string empty = "   ";
    EXPECT_EQ(particularsProblem(tag, empty), "");
    EXPECT_EQ(empty, "");
}

TEST(commissioningRecord, MeasuringPointIsEscapedAndTheTechnicianSigns)
{
    ConverterReading r = Reading(0, 0, {});
    RecordCircumstances circumstances{"/dev/ttyUSB0", "2024-05-14 09:30:00", nullptr, {}, {}};
    circumstances.particulars = {"TT-101 <b>", "Kotelna \"Jih\" & 'sever'", "Jiří Čermák", "řádek 1\nřádek 2"};
    const RecordPage page = commissioningRecord(r, circumstances);
    ASSERT_EQ(page.measuringPoint.rows.size(), 4u);
    EXPECT_EQ(page.measuringPoint.rows[3].label, "Poznámka");
    ASSERT_EQ(page.signers.size(), 2u);
    EXPECT_EQ(page.signers[0].heading, "Technik");
    EXPECT_EQ(page.signers[0].name, "Jiří Čermák");
    EXPECT_EQ(page.signers[1].heading, "Zákazník");
    EXPECT_EQ(page.signers[1].name, "");

    const std::string html = recordPageHtml(page);
    EXPECT_NE(html.find("<td>TT-101 &lt;b&gt;</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>Kotelna &quot;Jih&quot; &amp; &#39;sever&#39;</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>řádek 1\nřádek 2</td>"), std::string::npos);
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    // The point comes first, the lines to sign last.
    EXPECT_LT(html.find("Měřicí místo"), html.find("Převodník</h2>"));
    EXPECT_GT(html.find("<h2>Zákazník</h2>"), html.find("<figure>"));
    EXPECT_NE(html.find("<th>Jméno</th><td>Jiří Čermák</td>"), std::string::npos);

    // Nothing given: no measuring point, the lines to sign all the same.
    const std::string bare = recordPageHtml(commissioningRecord(r, {}));
    EXPECT_EQ(bare.find("Měřicí místo"), std::string::npos);
    EXPECT_NE(bare.find("<h2>Technik</h2>"), std::string::npos);
    EXPECT_NE(bare.find("<th>Jméno</th><td></td>"), std::string::npos);
}
