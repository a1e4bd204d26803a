// The thermometer dialog against an echoing converter: what it proposes,
// and the exact write sequence of OK.
#include "inputs/win32/RtdDialog.h"
#include "tests/inputs/InputDialogTestSupport.h"

#include <gmock/gmock.h>

#include <bit>

using protocol::Parameter;
using ::testing::ElementsAre;

namespace {

const std::vector<std::string> RtdNames = {"Pt 100 (3850)",  "Ni 100 (5000)",  "Ni 100 (6180)",
                                           "Pt 1000 (3850)", "Ni 1000 (5000)", "Ni 1000 (6180)"};
const std::vector<std::string> Wirings = {"Dvoudrát", "Dvoudrát+KS", "Třídrát", "Čtyřdrát"};

using D = RtdDialog;
using RtdDialogTest = SensorDialogTest<RtdDialog, RtdCatalog, RtdCurve>;

} // namespace

TEST_F(RtdDialogTest, ProposesTheConvertersSensorOrElsePt100FourWire)
{
    struct Case {
        const char* name;
        std::uint8_t code;
        int current; // catalog index in the main window's field, -1 for none
        int type;
        std::string range;
        int wiring;
    };
    const Case cases[] = {
        {"voltage input", 2, -1, 0, "-200 až 850 °C", 3},
        {"recognised Ni 1000 (5000), two-wire with loop", 6, 4, 4, "-60 až 250 °C", 1},
        {"Ni 100 (6180) in the field, converter in thermocouple mode", 14, 2, 0, "-200 až 850 °C", 3},
        // The converter's polynomial matched no stored type.
        {"RTD code, unknown curve", 7, -1, 0, "-200 až 850 °C", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        converter->storeByte(Parameter::InputType, c.code);
        converter->requests.clear();
        current = c.current >= 0 ? catalog.At(c.current) : nullptr;
        const RtdCurve* before = current;
        EXPECT_EQ(run([&](DialogView& d) {
                      EXPECT_EQ(d.entries(D::TypeListId), RtdNames);
                      EXPECT_EQ(d.selection(D::TypeListId), c.type);
                      EXPECT_EQ(d.text(D::RangeTextId), c.range);
                      EXPECT_EQ(d.entries(D::WiringListId), Wirings);
                      EXPECT_EQ(d.selection(D::WiringListId), c.wiring);
                      d.cancel();
                  }),
                  IDCANCEL);
        // Closing without OK leaves converter, field and description alone.
        EXPECT_THAT(converter->requests, ElementsAre(Request(Parameter::InputType)));
        EXPECT_EQ(current, before);
        EXPECT_EQ(description->GetText(), "Napětí");
    }
}

TEST_F(RtdDialogTest, OkWritesTheWholeCharacteristicThenCommits)
{
    converter->storeByte(Parameter::InputType, 2);
    ASSERT_EQ(run([](DialogView& d) {
                  d.choose(D::WiringListId, 2); // "Třídrát"
                  d.ok();
              }),
              IDOK);

    const RtdCurve* pt100 = catalog.At(0);
    EXPECT_EQ(current, pt100);
    EXPECT_EQ(description->GetText(), "Pt 100 (3850)");
    const auto sent = laterRequests();
    EXPECT_THAT(sent, ElementsAre(Request(Parameter::InputType, {7}),
                                  Request(Parameter::RangeMin, Bytes(pt100->ResistanceAt(-200.0f))),
                                  Request(Parameter::RangeMax, Bytes(pt100->ResistanceAt(850.0f))),
                                  Request(Parameter::CurveCoefficients, Bytes(pt100->polynomial())),
                                  Request(Parameter::CurveDegree, {5}), Request(Parameter::SegmentCount, {0}),
                                  Request(Parameter::Commit, {0})));
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_NEAR(FloatAt(sent[1].data, 0), 18.520, 0.001);
    EXPECT_NEAR(FloatAt(sent[2].data, 0), 390.481, 0.001);
    // c0 of Pt 100 as converters report it; c6..c9 are zero.
    EXPECT_EQ(std::bit_cast<std::uint32_t>(FloatAt(sent[3].data, 0)), 0xC372CA74u);
    EXPECT_EQ(std::vector<std::uint8_t>(sent[3].data.begin() + 24, sent[3].data.end()),
              std::vector<std::uint8_t>(16, 0));
}

TEST_F(RtdDialogTest, ChangingTheTypeShowsItsRangeAndOkWritesIt)
{
    converter->storeByte(Parameter::InputType, 8);
    current = catalog.At(3); // Pt 1000 (3850), four-wire
    std::string rangeAfterPick;
    std::size_t requestsBeforeOk = 0;
    ASSERT_EQ(run([&](DialogView& d) {
                  d.choose(D::TypeListId, 5); // Ni 1000 (6180)
                  rangeAfterPick = d.text(D::RangeTextId);
                  requestsBeforeOk = converter->requests.size();
                  d.ok();
              }),
              IDOK);
    EXPECT_EQ(rangeAfterPick, "-60 až 250 °C");
    EXPECT_EQ(requestsBeforeOk, 1u);

    const RtdCurve* ni1000 = catalog.At(5);
    EXPECT_EQ(current, ni1000);
    EXPECT_EQ(description->GetText(), "Ni 1000 (6180)");
    const auto sent = laterRequests();
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[0], Request(Parameter::InputType, {8}));
    EXPECT_NEAR(FloatAt(sent[1].data, 0), 695.20, 0.01);
    EXPECT_NEAR(FloatAt(sent[2].data, 0), 2891.56, 0.01);
    EXPECT_EQ(sent[3], Request(Parameter::CurveCoefficients, Bytes(ni1000->polynomial())));
    EXPECT_EQ(sent[4], Request(Parameter::CurveDegree, {5}));
}

TEST_F(RtdDialogTest, UnreadableInputTypeShowsTheErrorAndOkWritesNothing)
{
    current = catalog.At(1);
    ASSERT_EQ(run([](DialogView& d) {
                  EXPECT_EQ(d.entries(D::TypeListId), std::vector<std::string>{"Chyba komunikace"});
                  EXPECT_EQ(d.selection(D::TypeListId), 0);
                  EXPECT_EQ(d.text(D::RangeTextId), "");
                  EXPECT_TRUE(d.entries(D::WiringListId).empty());
                  d.choose(D::TypeListId, 0); // the error entry itself
                  d.ok();
              }),
              IDOK);
    EXPECT_TRUE(laterRequests().empty());
    EXPECT_EQ(current, catalog.At(1));
    EXPECT_EQ(description->GetText(), "Napětí");
}

TEST_F(RtdDialogTest, FailedWritesDoNotStopTheSequence)
{
    converter->storeByte(Parameter::InputType, 2);
    converter->silentOnWrites = true;
    ASSERT_EQ(run([](DialogView& d) { d.ok(); }), IDOK);
    std::vector<std::uint8_t> commands;
    for (const MemoryConverter::Request& request : laterRequests())
        commands.push_back(request.command);
    EXPECT_THAT(commands, ElementsAre(0x2C, 0x36, 0x37, 0x39, 0x38, 0x3F, 0x2B));
    EXPECT_EQ(current, catalog.At(0));
}
