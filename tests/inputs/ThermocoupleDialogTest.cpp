// The thermocouple dialog against an echoing converter: what it proposes,
// the exact write sequence of OK and the wait cursor over it.
#include "inputs/ThermocoupleDialog.h"
#include "tests/inputs/SensorDialogTestSupport.h"

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

class ThermocoupleDialogTest : public SensorDialogTest {
protected:
    int run(std::function<void(HWND)> act)
    {
        return SensorDialogTest::run<ThermocoupleDialog>(std::move(act), catalog, current);
    }

    ThermocoupleCatalog catalog;
    const ThermocoupleCurve* current = nullptr;
};

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
        SensorDialogView view;
        EXPECT_EQ(run(LookAndClose(view)), Closed);
        EXPECT_EQ(view.types, ThermocoupleNames);
        EXPECT_EQ(view.typeSelection, c.type);
        EXPECT_EQ(view.range, c.range);
        EXPECT_EQ(view.wirings, Compensations);
        EXPECT_EQ(view.wiringSelection, c.compensation);
        EXPECT_THAT(converter->requests, ElementsAre(Request(Parameter::InputType)));
        EXPECT_EQ(description->GetText(), "Napětí");
    }
}

TEST_F(ThermocoupleDialogTest, OkWritesPiecesAndColdJunctionUnderTheWaitCursor)
{
    converter->storeByte(Parameter::InputType, 2);
    const HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
    HCURSOR cursorAfterOk = nullptr;
    ASSERT_EQ(run([&](HWND dialog) {
                  Pick(dialog, ThermocoupleDialog::TypeListId, TypeK);
                  Pick(dialog, ThermocoupleDialog::WiringListId, 1);
                  SetCursor(cross);
                  PressOk(dialog);
                  cursorAfterOk = GetCursor();
              }),
              IDOK);

    const ThermocoupleCurve* k = catalog.At(TypeK);
    EXPECT_EQ(current, k);
    EXPECT_EQ(description->GetText(), "K (Chromel-Alumel)");
    const auto sent = writes();
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
    ASSERT_EQ(run(PressOk), IDOK);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(current, nullptr);
    EXPECT_EQ(description->GetText(), "Napětí");

    converter->requests.clear();
    std::string range;
    ASSERT_EQ(run([&](HWND dialog) {
                  Pick(dialog, ThermocoupleDialog::TypeListId, 7); // S
                  range = ViewOf(dialog).range;
                  PressOk(dialog);
              }),
              IDOK);
    EXPECT_EQ(range, "-50 až 1768 °C");
    EXPECT_EQ(current, catalog.At(7));
    EXPECT_EQ(description->GetText(), "S (Pt10Rh-Pt)");
    const auto sent = writes();
    ASSERT_EQ(sent.size(), 11u);
    EXPECT_EQ(sent[0], Request(Parameter::InputType, {15}));
    // S has four pieces: the last one is a real piece, not the zero record.
    EXPECT_EQ(sent[6], Request(Parameter::EmfRange, Piece(3, catalog.At(7)->range(3))));
    EXPECT_EQ(sent[6].data[57], 4);
}

TEST_F(ThermocoupleDialogTest, UnreadableInputTypeShowsTheErrorAndOkWritesNothing)
{
    current = catalog.At(TypeK);
    SensorDialogView view;
    ASSERT_EQ(run([&](HWND dialog) {
                  view = ViewOf(dialog);
                  PressOk(dialog);
              }),
              IDOK);
    EXPECT_EQ(view.types, std::vector<std::string>{"Chyba komunikace"});
    EXPECT_EQ(view.typeSelection, 0);
    EXPECT_EQ(view.range, "");
    EXPECT_TRUE(view.wirings.empty());
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(current, catalog.At(TypeK));
}
