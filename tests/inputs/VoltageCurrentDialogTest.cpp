// Variants, divider and shunt of the voltage and current dialogs.
#include "inputs/win32/CurrentDialog.h"
#include "inputs/win32/VoltageDialog.h"
#include "tests/inputs/InputDialogTestSupport.h"

using P = protocol::Parameter;
using V = VoltageDialog;
using C = CurrentDialog;

TEST_F(InputDialogTest, VoltageVariantsSetUnitsAndTheDivider)
{
    configure(0, 0.0f, 100.0f, false);
    converter->storeReal(P::Divider, 2.5f);
    run<VoltageDialog>([](DialogView& d) {
        EXPECT_EQ(d.entries(V::VariantListId),
                  (std::vector<std::string>{"InA (100 mV)", "InA (1 V)", "10 V"}));
        EXPECT_EQ(d.selected(V::VariantListId), "InA (100 mV)");
        EXPECT_EQ(d.text(V::MinLabelId), "Min [mV]");
        EXPECT_EQ(d.text(V::MaxLabelId), "Max [mV]");
        EXPECT_TRUE(d.enabled(V::DividerEditId));
        EXPECT_EQ(d.text(V::DividerEditId), "2.50");

        d.choose(V::VariantListId, 1);
        EXPECT_EQ(d.text(V::MinLabelId), "Min [V]");
        EXPECT_EQ(d.text(V::MaxLabelId), "Max [V]");
        EXPECT_TRUE(d.enabled(V::DividerEditId));
        d.choose(V::VariantListId, 2);
        EXPECT_FALSE(d.enabled(V::DividerEditId));
        d.choose(V::VariantListId, 1);
        d.type(V::DividerEditId, "10");
        d.ok();
    });
    EXPECT_EQ(writtenData(P::InputType), MemoryConverter::Bytes{1});
    EXPECT_EQ(writtenReal(P::Divider), 10.0f);
    EXPECT_EQ(description->GetText(), "InA (1 V)");
}

TEST_F(InputDialogTest, TenVoltsNeitherEnablesNorWritesTheDivider)
{
    configure(2, 0.0f, 10.0f, true);
    converter->storeReal(P::Divider, 4.0f);
    run<VoltageDialog>([](DialogView& d) {
        EXPECT_EQ(d.selected(V::VariantListId), "10 V");
        EXPECT_FALSE(d.enabled(V::DividerEditId));
        EXPECT_EQ(d.text(V::DividerEditId), "4.00");
        EXPECT_EQ(d.text(V::MinLabelId), "Min [V]");
        d.ok();
    });
    EXPECT_EQ(written(), (std::vector{P::InputType, P::Commit}));
    EXPECT_EQ(description->GetText(), "10 V");
}

TEST_F(InputDialogTest, VoltageDialogOnAConverterOfAnotherKindOffersTenVoltsAndItsDefaultRange)
{
    configure(4, -5.0f, 5.0f, true);
    run<VoltageDialog>([](DialogView& d) {
        EXPECT_EQ(d.selected(V::VariantListId), "10 V");
        EXPECT_EQ(d.text(V::MinEditId), "0.00");
        EXPECT_EQ(d.text(V::MaxEditId), "10.00");
        EXPECT_TRUE(d.checked(V::OffRadioId));
        EXPECT_FALSE(d.enabled(V::OffRadioId + 1));
        d.ok();
    });
    // The other kind's range and linearization are not this dialog's.
    for (const MemoryConverter::Request& request : converter->requests) {
        if (request.isRead()) {
            EXPECT_TRUE(request.parameter() == P::InputType || request.parameter() == P::Divider)
                << int(request.command);
        }
    }
    EXPECT_EQ(written(), (std::vector{P::InputType, P::RangeMin, P::RangeMax, P::SegmentCount, P::CurveDegree,
                                      P::Commit}));
    EXPECT_EQ(writtenReal(P::RangeMax), 10.0f);
}

// A divider that could not be read stays unwritten while its edit is empty:
// the 0 of an empty edit would erase the calibration. A typed text that is
// no number reads as 0 and is written, read or not.
TEST_F(InputDialogTest, DividerIsWrittenUnlessItsReadFailedAndTheEditIsEmpty)
{
    struct Case {
        bool stored;
        const char* typed;
        std::vector<P> expected;
    };
    for (const Case& c : {Case{false, "", {P::InputType, P::Commit}},
                          Case{false, "1,5", {P::InputType, P::Divider, P::Commit}},
                          Case{true, "1,5", {P::InputType, P::Divider, P::Commit}}}) {
        SCOPED_TRACE(c.typed);
        converter->requests.clear();
        converter->stored.erase(P::Divider);
        if (c.stored)
            converter->storeReal(P::Divider, 2.0f);
        configure(0, 0.0f, 100.0f, true);
        run<VoltageDialog>([&](DialogView& d) {
            EXPECT_EQ(d.text(V::DividerEditId), c.stored ? "2.00" : "");
            d.type(V::DividerEditId, c.typed);
            d.ok();
        });
        EXPECT_EQ(written(), c.expected);
        if (c.expected.size() == 3) {
            EXPECT_EQ(writtenReal(P::Divider), 0.0f);
        }
    }
}

TEST_F(InputDialogTest, ExternalShuntIsEnabledShownAndWritten)
{
    configure(3, 4.0f, 20.0f, false);
    converter->storeReal(P::Shunt, 12.5f);
    run<CurrentDialog>([](DialogView& d) {
        EXPECT_EQ(d.entries(C::VariantListId), (std::vector<std::string>{"InA (externí bočník)", "20 mA"}));
        EXPECT_EQ(d.selected(C::VariantListId), "InA (externí bočník)");
        EXPECT_TRUE(d.enabled(C::ShuntEditId));
        EXPECT_EQ(d.text(C::ShuntEditId), "12.500");
        EXPECT_EQ(d.text(C::MinEditId), "4.00");
        d.type(C::ShuntEditId, "49.9");
        d.ok();
    });
    EXPECT_EQ(written(), (std::vector{P::InputType, P::Shunt, P::RangeMin, P::RangeMax, P::SegmentCount,
                                      P::CurveDegree, P::Commit}));
    EXPECT_EQ(writtenData(P::InputType), MemoryConverter::Bytes{3});
    EXPECT_EQ(writtenReal(P::Shunt), 49.9f);
    EXPECT_EQ(description->GetText(), "InA (externí bočník)");
}

TEST_F(InputDialogTest, TwentyMilliampsLeavesTheShuntAlone)
{
    configure(3, 4.0f, 20.0f, true);
    converter->storeReal(P::Shunt, 12.5f);
    run<CurrentDialog>([](DialogView& d) {
        d.choose(C::VariantListId, 1);
        EXPECT_FALSE(d.enabled(C::ShuntEditId));
        d.choose(C::VariantListId, 0);
        EXPECT_TRUE(d.enabled(C::ShuntEditId));
        d.choose(C::VariantListId, 1);
        d.ok();
    });
    EXPECT_EQ(written(), (std::vector{P::InputType, P::Commit}));
    EXPECT_EQ(writtenData(P::InputType), MemoryConverter::Bytes{4});
    EXPECT_EQ(description->GetText(), "20 mA");
}

TEST_F(InputDialogTest, CurrentDialogOnAVoltageConverterOffersTwentyMilliamps)
{
    configure(1, 0.0f, 1.0f, true);
    converter->storeReal(P::Shunt, 0.25f);
    run<CurrentDialog>([](DialogView& d) {
        EXPECT_EQ(d.selected(C::VariantListId), "20 mA");
        EXPECT_FALSE(d.enabled(C::ShuntEditId));
        EXPECT_EQ(d.text(C::ShuntEditId), "0.250");
        EXPECT_EQ(d.text(C::MinEditId), "0.00");
        EXPECT_EQ(d.text(C::MaxEditId), "20.00");
        EXPECT_TRUE(d.checked(C::OffRadioId));
        EXPECT_FALSE(d.enabled(C::OffRadioId + 1));
        d.cancel();
    });
}
