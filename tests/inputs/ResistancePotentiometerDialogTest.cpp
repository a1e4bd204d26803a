// Wiring, the recognised-RTD case and the potentiometer codes.
#include "inputs/win32/PotentiometerDialog.h"
#include "inputs/win32/ResistanceDialog.h"
#include "inputs/RtdCatalog.h"
#include "tests/inputs/InputDialogTestSupport.h"

using P = protocol::Parameter;
using R = ResistanceDialog;
using Pot = PotentiometerDialog;

TEST_F(InputDialogTest, ResistanceConverterShowsItsWiringAndState)
{
    const RtdCurve* rtd = nullptr;
    configure(7, 10.0f, 390.0f, true);
    run<ResistanceDialog>(
        [](DialogView& d) {
            EXPECT_EQ(d.entries(R::WiringListId),
                      (std::vector<std::string>{"Dvoudrát", "Dvoudrát+KS", "Třídrát", "Čtyřdrát"}));
            EXPECT_EQ(d.selected(R::WiringListId), "Třídrát");
            EXPECT_TRUE(d.checked(R::OffRadioId + 1));
            EXPECT_EQ(d.text(R::MaxEditId), "390.00");
            d.choose(R::WiringListId, 1);
            d.ok();
        },
        rtd);
    EXPECT_EQ(written(), (std::vector{P::InputType, P::Commit}));
    EXPECT_EQ(writtenData(P::InputType), MemoryConverter::Bytes{6});
    EXPECT_EQ(description->GetText(), "Dvoudrát+KS");
}

TEST_F(InputDialogTest, RecognisedRtdIsNotAPlainResistanceAndOkForgetsIt)
{
    RtdCatalog catalog;
    const RtdCurve* rtd = catalog.At(0);
    configure(8, 18.5f, 390.0f, true);

    run<ResistanceDialog>([](DialogView& d) { d.cancel(); }, rtd);
    EXPECT_EQ(rtd, catalog.At(0)) << "Cancel keeps the sensor";

    run<ResistanceDialog>(
        [](DialogView& d) {
            EXPECT_EQ(d.selected(R::WiringListId), "Čtyřdrát");
            EXPECT_EQ(d.text(R::MinEditId), "0.00");
            EXPECT_EQ(d.text(R::MaxEditId), "4000.00");
            EXPECT_TRUE(d.checked(R::OffRadioId));
            EXPECT_FALSE(d.enabled(R::OffRadioId + 1));
            d.ok();
        },
        rtd);
    EXPECT_EQ(rtd, nullptr);
    EXPECT_EQ(written(), (std::vector{P::InputType, P::RangeMin, P::RangeMax, P::SegmentCount, P::CurveDegree,
                                      P::Commit}));
    EXPECT_EQ(writtenReal(P::RangeMax), 4000.0f);
    EXPECT_EQ(description->GetText(), "Čtyřdrát");
}

TEST_F(InputDialogTest, PotentiometerCodeComesFromTypeAndWiring)
{
    configure(9, 0.0f, 100.0f, true);
    for (int type = 0; type < 2; ++type) {
        for (int wiring = 0; wiring < 2; ++wiring) {
            SCOPED_TRACE(testing::Message() << type << "/" << wiring);
            converter->requests.clear();
            run<PotentiometerDialog>([&](DialogView& d) {
                d.choose(Pot::TypeListId, type);
                d.choose(Pot::WiringListId, wiring);
                d.ok();
            });
            EXPECT_EQ(writtenData(P::InputType),
                      MemoryConverter::Bytes{static_cast<std::uint8_t>(9 + 2 * type + wiring)});
            EXPECT_EQ(description->GetText(), type == 0 ? "Absolutní" : "Relativní");
        }
    }
}

TEST_F(InputDialogTest, RelativePotentiometerShowsPercentUntilAbsoluteIsChosen)
{
    configure(12, 5.0f, 95.0f, false);
    run<PotentiometerDialog>([](DialogView& d) {
        EXPECT_EQ(d.selected(Pot::TypeListId), "Relativní");
        EXPECT_EQ(d.selected(Pot::WiringListId), "Čtyřdrát");
        EXPECT_EQ(d.text(Pot::MinLabelId), "Min [%]:");
        EXPECT_EQ(d.text(Pot::MaxLabelId), "Max [%]:");
        d.choose(Pot::TypeListId, 0);
        EXPECT_EQ(d.text(Pot::MinLabelId), "Min [Ohm]:");
        EXPECT_EQ(d.text(Pot::MaxLabelId), "Max [Ohm]:");
        EXPECT_EQ(d.text(Pot::MinEditId), "5.00");
        EXPECT_EQ(d.text(Pot::MaxEditId), "95.00");
        d.ok();
    });
    EXPECT_EQ(writtenData(P::InputType), MemoryConverter::Bytes{10});
    EXPECT_EQ(writtenReal(P::RangeMin), 5.0f);
}

TEST_F(InputDialogTest, PotentiometerOnAConverterOfAnotherKindOffersItsDefault)
{
    configure(11, 5.0f, 95.0f, true);
    run<PotentiometerDialog>([](DialogView& d) {
        EXPECT_EQ(d.selected(Pot::TypeListId), "Relativní");
        EXPECT_EQ(d.selected(Pot::WiringListId), "Třídrát+KS");
        d.cancel();
    });
    configure(13, 5.0f, 95.0f, true);
    run<PotentiometerDialog>([](DialogView& d) {
        EXPECT_EQ(d.selected(Pot::TypeListId), "Absolutní");
        EXPECT_EQ(d.selected(Pot::WiringListId), "Čtyřdrát");
        EXPECT_EQ(d.text(Pot::MinLabelId), "Min [Ohm]:");
        EXPECT_EQ(d.text(Pot::MinEditId), "0.00");
        EXPECT_EQ(d.text(Pot::MaxEditId), "4000.00");
        EXPECT_TRUE(d.checked(Pot::OffRadioId));
        d.cancel();
    });
}
