// The linearization group and the failure paths that the four input
// dialogs share, run modally against a converter in memory.
#include "inputs/win32/CurrentDialog.h"
#include "inputs/win32/InputDialogFactory.h"
#include "inputs/win32/PotentiometerDialog.h"
#include "inputs/win32/ResistanceDialog.h"
#include "inputs/win32/VoltageDialog.h"
#include "tests/inputs/InputDialogTestSupport.h"

using P = protocol::Parameter;
using V = VoltageDialog;

TEST_F(InputDialogTest, LinearizedConverterOpensOnZapnutaAndOkKeepsItsLinearization)
{
    configure(1, -1.5f, 2.25f, true);
    converter->storeReal(P::Divider, 3.0f);
    EXPECT_EQ(run<VoltageDialog>([](DialogView& d) {
                  EXPECT_TRUE(d.checked(V::OffRadioId + 1));
                  EXPECT_FALSE(d.checked(V::OffRadioId));
                  EXPECT_FALSE(d.enabled(V::MinEditId));
                  EXPECT_FALSE(d.enabled(V::MaxEditId));
                  EXPECT_EQ(d.text(V::MinEditId), "-1.50");
                  EXPECT_EQ(d.text(V::MaxEditId), "2.25");
                  EXPECT_TRUE(d.enabled(V::OffRadioId));
                  EXPECT_FALSE(d.enabled(V::OffRadioId + 2)) << "empty table";
                  d.ok();
              }),
              IDOK);
    EXPECT_EQ(written(), (std::vector{P::InputType, P::Divider, P::Commit}));
    EXPECT_EQ(writtenData(P::InputType), MemoryConverter::Bytes{1});
    EXPECT_EQ(writtenReal(P::Divider), 3.0f);
    EXPECT_EQ(description->GetText(), "InA (1 V)");
}

TEST_F(InputDialogTest, VypnutaWritesTheTypedRangeAndClearsBothLinearizations)
{
    configure(0, 0.0f, 100.0f, false);
    converter->storeReal(P::Divider, 1.0f);
    run<VoltageDialog>([](DialogView& d) {
        EXPECT_TRUE(d.checked(V::OffRadioId));
        EXPECT_FALSE(d.enabled(V::OffRadioId + 1)) << "Zapnuta";
        EXPECT_TRUE(d.enabled(V::MinEditId));
        EXPECT_EQ(d.text(V::MinEditId), "0.00");
        EXPECT_EQ(d.text(V::MaxEditId), "100.00");
        // Taken as typed: a low end above the high end, a decimal comma.
        d.type(V::MinEditId, "75.5");
        d.type(V::MaxEditId, "12,5");
        d.ok();
    });
    EXPECT_EQ(written(), (std::vector{P::InputType, P::Divider, P::RangeMin, P::RangeMax, P::SegmentCount,
                                      P::CurveDegree, P::Commit}));
    EXPECT_EQ(writtenReal(P::RangeMin), 75.5f);
    EXPECT_EQ(writtenReal(P::RangeMax), 0.0f);
    EXPECT_EQ(writtenData(P::SegmentCount), MemoryConverter::Bytes{0});
    EXPECT_EQ(writtenData(P::CurveDegree), MemoryConverter::Bytes{0});
}

TEST_F(InputDialogTest, PrepsatShowsAndWritesTheTableNotTheEdits)
{
    fillTable();
    configure(2, 1.0f, 9.0f, true);
    run<VoltageDialog>([](DialogView& d) {
        EXPECT_TRUE(d.enabled(V::OffRadioId + 2));
        d.click(V::OffRadioId);
        EXPECT_TRUE(d.enabled(V::MinEditId));
        EXPECT_EQ(d.text(V::MinEditId), "1.00");
        d.type(V::MinEditId, "5");
        d.click(V::OffRadioId + 2);
        EXPECT_FALSE(d.enabled(V::MinEditId));
        EXPECT_EQ(d.text(V::MinEditId), "0.00");
        EXPECT_EQ(d.text(V::MaxEditId), "100.00");
        EXPECT_FALSE(d.checked(V::OffRadioId));
        d.ok();
    });
    EXPECT_EQ(written(), (std::vector{P::InputType, P::RangeMin, P::RangeMax, P::Segment, P::Segment,
                                      P::SegmentCount, P::CurveDegree, P::Commit}));
    EXPECT_EQ(writtenReal(P::RangeMax), 100.0f);
    EXPECT_EQ(writtenData(P::SegmentCount), MemoryConverter::Bytes{2});
}

TEST_F(InputDialogTest, ZapnutaClickedAgainShowsTheConvertersRangeDisabled)
{
    fillTable();
    configure(2, 1.0f, 9.0f, true);
    run<VoltageDialog>([](DialogView& d) {
        d.click(V::OffRadioId + 2);
        d.click(V::OffRadioId + 1);
        EXPECT_FALSE(d.enabled(V::MaxEditId));
        EXPECT_EQ(d.text(V::MaxEditId), "9.00");
        d.ok();
    });
    EXPECT_EQ(written(), (std::vector{P::InputType, P::Commit}));
}

TEST_F(InputDialogTest, UnreadableLinearizationStateIsKeptRatherThanErased)
{
    converter->storeByte(P::InputType, 2);
    converter->storeReal(P::RangeMin, 0.0f);
    converter->storeReal(P::RangeMax, 10.0f);
    converter->storeByte(P::SegmentCount, 0); // CurveDegree does not answer
    run<VoltageDialog>([](DialogView& d) {
        EXPECT_TRUE(d.checked(V::OffRadioId + 1));
        d.ok();
    });
    // Both counts are asked for, whatever the first answer.
    std::vector<P> reads;
    for (const MemoryConverter::Request& request : converter->requests) {
        if (request.isRead())
            reads.push_back(request.parameter());
    }
    EXPECT_EQ(reads, (std::vector{P::InputType, P::Divider, P::RangeMin, P::RangeMax, P::CurveDegree,
                                  P::SegmentCount}));
    EXPECT_EQ(written(), (std::vector{P::InputType, P::Commit}));
}

TEST_F(InputDialogTest, CancelWritesNothing)
{
    configure(0, 0.0f, 100.0f, false);
    description->SetText("before");
    EXPECT_EQ(run<VoltageDialog>([](DialogView& d) { d.cancel(); }), IDCANCEL);
    EXPECT_TRUE(converter->writes().empty());
    EXPECT_EQ(description->GetText(), "before");
}

// Every dialog: the first list shows the error alone, nothing else is
// filled, and OK closes the dialog without a single write.
TEST_F(InputDialogTest, UnreadableInputTypeShowsChybaKomunikaceAndOkWritesNothing)
{
    const RtdCurve* rtd = nullptr;
    struct Case {
        int kind;
        const char* caption;
        int firstList;
        int otherList; // 0: none
        int minEdit;
        int offRadio;
    };
    const Case cases[] = {
        {0, "Napětí", V::VariantListId, 0, V::MinEditId, V::OffRadioId},
        {1, "Proud", CurrentDialog::VariantListId, 0, CurrentDialog::MinEditId, CurrentDialog::OffRadioId},
        {2, "Odpor", ResistanceDialog::WiringListId, 0, ResistanceDialog::MinEditId,
         ResistanceDialog::OffRadioId},
        {3, "Potenciometr", PotentiometerDialog::TypeListId, PotentiometerDialog::WiringListId,
         PotentiometerDialog::MinEditId, PotentiometerDialog::OffRadioId},
    };
    description->SetText("before");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        auto act = [&](DialogView& d) {
            EXPECT_EQ(d.caption(), c.caption);
            EXPECT_EQ(d.entries(c.firstList), std::vector<std::string>{"Chyba komunikace"});
            EXPECT_EQ(d.selected(c.firstList), "Chyba komunikace");
            if (c.otherList != 0) {
                EXPECT_TRUE(d.entries(c.otherList).empty());
            }
            EXPECT_EQ(d.text(c.minEdit), "");
            for (int radio = c.offRadio; radio < c.offRadio + 3; ++radio)
                EXPECT_FALSE(d.checked(radio));
            d.choose(c.firstList, 0); // a lone entry changes nothing
            d.ok();
        };
        // Made by the entry point the main window uses.
        auto dialog = MakeInputDialog(c.kind, host, *link, *description, table, rtd);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(runModal(std::move(dialog), act), IDOK);
    }
    EXPECT_TRUE(converter->writes().empty());
    EXPECT_EQ(description->GetText(), "before");
    EXPECT_EQ(MakeInputDialog(4, nullptr, *link, *description, table, rtd), nullptr);
    EXPECT_EQ(MakeInputDialog(5, nullptr, *link, *description, table, rtd), nullptr);
}
