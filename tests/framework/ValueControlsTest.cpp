#include "WindowTestSupport.h"

#include "device/ParameterTexts.h"
#include "framework/ValueDisplay.h"
#include "framework/ValueEdit.h"

#include <gtest/gtest.h>

namespace {

class ValueControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = new RecordingWindow(nullptr, "Values");
        display = parent->MakeChild<ValueDisplay>("", 0, 0, 140, 20);
        edit = parent->MakeChild<ValueEdit>("", 0, 30, 90, 24, 140);
        ASSERT_TRUE(parent->Realize());
    }
    void TearDown() override { parent->Free(); }

    RecordingWindow* parent = nullptr;
    ValueDisplay* display = nullptr;
    ValueEdit* edit = nullptr;
};

} // namespace

TEST_F(ValueControls, StylesAreRightAlignedAndSunken)
{
    const LONG_PTR displayStyle = GetWindowLongPtrW(display->Handle(), GWL_STYLE);
    EXPECT_EQ(displayStyle & SS_TYPEMASK, SS_RIGHT);
    EXPECT_NE(GetWindowLongPtrW(display->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    const LONG_PTR editStyle = GetWindowLongPtrW(edit->Handle(), GWL_STYLE);
    EXPECT_NE(editStyle & ES_RIGHT, 0);
    EXPECT_EQ(editStyle & ES_AUTOHSCROLL, 0);
    EXPECT_NE(GetWindowLongPtrW(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(ValueControls, DisplayShowsTheToolsFormats)
{
    display->SetReal(1.005f, 2);
    EXPECT_EQ(display->GetText(), "1.01");
    display->SetInteger(-15);
    EXPECT_EQ(display->GetText(), "-15");
    display->SetRealAuto(-0.125f);
    EXPECT_EQ(display->GetText(), "-1.250000000E-01");
    display->SetVersion(0x0A10);
    EXPECT_EQ(display->GetText(), "0A.10");
    // The Czech range text survives the trip through the window unchanged.
    display->SetRange(-200, 850);
    EXPECT_EQ(display->GetText(), "-200 až 850 °C");
    display->SetOutputKind(6);
    EXPECT_EQ(display->GetText(), parameter_texts::OutputTypeText(0));
    display->SetRelayKind(7);
    EXPECT_EQ(display->GetText(), parameter_texts::RelayOptionsText(3));
}

TEST_F(ValueControls, EditReadsWhatWasTypedAndZeroForTheRest)
{
    edit->SetReal(-0.5f, 3);
    EXPECT_EQ(edit->GetText(), "-0.500");
    EXPECT_FLOAT_EQ(edit->GetReal(), -0.5f);
    edit->SetInteger(123);
    EXPECT_EQ(edit->GetInteger(), 123);
    edit->SetText("$1F");
    EXPECT_EQ(edit->GetInteger(), 31);
    edit->SetText("1e3");
    EXPECT_FLOAT_EQ(edit->GetReal(), 1000.0f);
    edit->SetText("12,5");
    EXPECT_EQ(edit->GetReal(), 0.0f);
    edit->SetText("7.25 ");
    EXPECT_EQ(edit->GetReal(), 0.0f);
    edit->SetText("12a");
    EXPECT_EQ(edit->GetInteger(), 0);
}
