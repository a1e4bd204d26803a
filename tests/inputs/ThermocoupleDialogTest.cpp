// The thermocouple dialog against an echoing converter: what it proposes,
// the exact write sequence of OK and the wait cursor over it.
#include "inputs/win32/ThermocoupleDialog.h"
#include "tests/inputs/InputDialogTestSupport.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <bit>

using protocol::Parameter;
using ::testing::Each;
using ::testing::ElementsAre;

namespace {

const std::vector<std::string> ThermocoupleNames = {
    "B (Pt30Rh-Pt6Rh)",   "E (Chromel-Konstantan)", "J (Železo-Konstantan)",
    "K (Chromel-Alumel)", "L (Železo-Konstantan)",  "N (Nicrosil-Nisil)",
    "R (Pt13Rh-Pt)",      "S (Pt10Rh-Pt)",          "T (Měď-Konstantan)"};
const std::vector<std::string> Compensations = {"Interní kompenzace", "Dvoudrátová kompenzace",
                                                "Třídrátová kompenzace"};
constexpr int TypeK = 3;

using D = ThermocoupleDialog;
using ThermocoupleDialogTest = SensorDialogTest<ThermocoupleDialog, ThermocoupleCatalog, ThermocoupleCurve>;

// Index byte, then the piece as the converter stores it.
std::vector<std::uint8_t> Piece(std::uint8_t index, const EmfRange& piece)
{
    const auto image = piece.wireImage();
    std::vector<std::uint8_t> data(image.size() + 1);
    data[0] = index;
    std::copy(image.begin(), image.end(), data.begin() + 1);
    return data;
}

} // namespace

TEST_F(ThermocoupleDialogTest, ProposesTheConvertersSensorOrElseTypeJInternal)
{
    struct Case {
        const char* name;
        std::uint8_t code;
        int current; // catalog index in the main window's field, -1 for none
        int type;    // -1: no type selected
        std::string range;
        int compensation;
    };
    const Case cases[] = {
        {"voltage input", 0, -1, 2, "-200 až 1200 °C", 0},
        {"recognised K, two-wire compensation", 14, TypeK, TypeK, "-200 až 1372 °C", 1},
        {"T in the field, converter in RTD mode", 7, 8, 2, "-200 až 1200 °C", 0},
        // The converter's polynomial matched no stored type: the user picks one.
        {"thermocouple code, unknown curve", 15, -1, -1, "", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        converter->storeByte(Parameter::InputType, c.code);
        converter->requests.clear();
        current = c.current >= 0 ? catalog.At(c.current) : nullptr;
        EXPECT_EQ(run([&](DialogView& d) {
                      EXPECT_EQ(d.entries(D::TypeListId), ThermocoupleNames);
                      EXPECT_EQ(d.selection(D::TypeListId), c.type);
                      EXPECT_EQ(d.text(D::RangeTextId), c.range);
                      EXPECT_EQ(d.entries(D::WiringListId), Compensations);
                      EXPECT_EQ(d.selection(D::WiringListId), c.compensation);
                      d.cancel();
                  }),
                  IDCANCEL);
        EXPECT_THAT(converter->requests, ElementsAre(Request(Parameter::InputType)));
        EXPECT_EQ(description->GetText(), "Napětí");
    }
}

TEST_F(ThermocoupleDialogTest, OkWritesPiecesAndColdJunctionUnderTheWaitCursor)
{
    converter->storeByte(Parameter::InputType, 2);
    const HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
    HCURSOR cursorAfterOk = nullptr;
    ASSERT_EQ(run([&](DialogView& d) {
                  d.choose(D::TypeListId, TypeK);
                  d.choose(D::WiringListId, 1);
                  SetCursor(cross);
                  d.ok();
                  cursorAfterOk = GetCursor();
              }),
              IDOK);

    const ThermocoupleCurve* k = catalog.At(TypeK);
    EXPECT_EQ(current, k);
    EXPECT_EQ(description->GetText(), "K (Chromel-Alumel)");
    const auto sent = laterRequests();
    EXPECT_THAT(sent,
                ElementsAre(Request(Parameter::InputType, {14}), Request(Parameter::RangeMin, Bytes(-5.891f)),
                            Request(Parameter::RangeMax, Bytes(std::bit_cast<float>(0x425B8B44u))),
                            Request(Parameter::EmfRange, Piece(0, k->range(0))),
                            Request(Parameter::EmfRange, Piece(1, k->range(1))),
                            Request(Parameter::EmfRange, Piece(2, k->range(2))),
                            Request(Parameter::EmfRange, Piece(3, UnusedEmfRange)),
                            Request(Parameter::CurveCoefficients, Bytes(k->cjPolynomial())),
                            Request(Parameter::CurveDegree, {3}), Request(Parameter::SegmentCount, {0}),
                            Request(Parameter::Commit, {0})));
    ASSERT_EQ(sent.size(), 11u);
    // Each piece: index, 13 coefficients, lower bound at 53, degree at 57.
    const float lowerBounds[] = {-5.891f, 0.0f, 20.644f};
    const std::uint8_t degrees[] = {8, 9, 6};
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(sent[3 + i].data.size(), 58u);
        EXPECT_EQ(FloatAt(sent[3 + i].data, 53), lowerBounds[i]);
        EXPECT_EQ(sent[3 + i].data[57], degrees[i]);
    }
    EXPECT_THAT(std::vector<std::uint8_t>(sent[6].data.begin() + 1, sent[6].data.end()), Each(0));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(FloatAt(sent[7].data, 0)), 0xC0C2DAD5u);

    // The wait cursor from the first write to the commit, then the one before.
    ASSERT_EQ(cursors.size(), 12u);
    EXPECT_THAT(std::vector<HCURSOR>(cursors.begin() + 1, cursors.end()),
                Each(LoadCursorW(nullptr, IDC_WAIT)));
    EXPECT_EQ(cursorAfterOk, cross);
}

TEST_F(ThermocoupleDialogTest, UnknownConverterTypeWritesOnlyOnceTheUserPicksOne)
{
    converter->storeByte(Parameter::InputType, 15);
    ASSERT_EQ(run([](DialogView& d) { d.ok(); }), IDOK);
    EXPECT_TRUE(laterRequests().empty());
    EXPECT_EQ(current, nullptr);
    EXPECT_EQ(description->GetText(), "Napětí");

    converter->requests.clear();
    std::string range;
    ASSERT_EQ(run([&](DialogView& d) {
                  d.choose(D::TypeListId, 7); // S
                  range = d.text(D::RangeTextId);
                  d.ok();
              }),
              IDOK);
    EXPECT_EQ(range, "-50 až 1768 °C");
    EXPECT_EQ(current, catalog.At(7));
    EXPECT_EQ(description->GetText(), "S (Pt10Rh-Pt)");
    const auto sent = laterRequests();
    ASSERT_EQ(sent.size(), 11u);
    EXPECT_EQ(sent[0], Request(Parameter::InputType, {15}));
    // S has four pieces: the last one is a real piece, not the zero record.
    EXPECT_EQ(sent[6], Request(Parameter::EmfRange, Piece(3, catalog.At(7)->range(3))));
    EXPECT_EQ(sent[6].data[57], 4);
}

TEST_F(ThermocoupleDialogTest, UnreadableInputTypeShowsTheErrorAndOkWritesNothing)
{
    current = catalog.At(TypeK);
    ASSERT_EQ(run([](DialogView& d) {
                  EXPECT_EQ(d.entries(D::TypeListId), std::vector<std::string>{"Chyba komunikace"});
                  EXPECT_EQ(d.selection(D::TypeListId), 0);
                  EXPECT_EQ(d.text(D::RangeTextId), "");
                  EXPECT_TRUE(d.entries(D::WiringListId).empty());
                  d.ok();
              }),
              IDOK);
    EXPECT_TRUE(laterRequests().empty());
    EXPECT_EQ(current, catalog.At(TypeK));
}
