#include "WindowTestSupport.h"

#include "framework/ComboBox.h"
#include "framework/EditBox.h"
#include "framework/GroupBox.h"
#include "framework/PortSelectBox.h"
#include "framework/RadioButton.h"
#include "framework/StringCollection.h"
#include "framework/WideText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Sees every message sent to the control: the object is its procedure.
template <class Base> class Watched : public Base {
public:
    using Base::Base;
    void Dispatch(WindowMessage& msg) override
    {
        messages.push_back({msg.message, msg.wParam});
        Base::Dispatch(msg);
    }
    std::vector<std::pair<UINT, WPARAM>> messages;
    bool Sent(UINT message) const
    {
        return std::any_of(messages.begin(), messages.end(), [&](auto& m) { return m.first == message; });
    }
};

class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = new RecordingWindow(nullptr, "Controls");
        ASSERT_TRUE(parent->Realize());
    }
    void TearDown() override { parent->Free(); }

    template <class T, class... Args> T* Make(Args&&... args)
    {
        T* control = parent->MakeChild<T>(std::forward<Args>(args)...);
        EXPECT_TRUE(control->Realize());
        return control;
    }

    RecordingWindow* parent = nullptr;
};

std::vector<std::string> Items(const ListBox& list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.GetItemCount(); ++i)
        items.push_back(list.GetItemText(i));
    return items;
}

LONG_PTR StyleOf(const Window& window)
{
    return GetWindowLongPtrW(window.Handle(), GWL_STYLE);
}

} // namespace

TEST_F(Controls, CzechTextIsReadBackUnchanged)
{
    const std::string text = "Převodník není kompatibilní s tímto nástrojem. -200 až 850 °C";
    auto* label = Make<StaticText>("Měření:", 0, 0, 300, 20, 0, 0);
    EXPECT_EQ(label->GetText(), "Měření:");
    label->SetText(text);
    EXPECT_EQ(label->GetText(), text);
    wchar_t wide[8] = {};
    GetWindowTextW(label->Handle(), wide, 8);
    EXPECT_STREQ(wide, L"P\u0159evodn");
    label->ClearText();
    EXPECT_EQ(label->GetText(), "");
}

TEST_F(Controls, ButtonsHaveTheirStylesAndCheckStates)
{
    auto* group = Make<GroupBox>("Relé 1:", 0, 0, 100, 100, 0);
    auto* check = Make<CheckBox>("Číst", 0, 0, 80, 20, 116);
    auto* radio = Make<RadioButton>("Okno", 0, 30, 80, 20, 118);
    EXPECT_EQ(StyleOf(*group) & 0xF, BS_GROUPBOX);
    EXPECT_EQ(StyleOf(*check) & 0xF, BS_AUTOCHECKBOX);
    EXPECT_EQ(StyleOf(*radio) & 0xF, BS_AUTORADIOBUTTON);
    EXPECT_EQ(check->GetCheck(), BST_UNCHECKED);
    check->SetChecked();
    radio->SetChecked();
    EXPECT_EQ(check->GetCheck(), BST_CHECKED);
    EXPECT_EQ(radio->GetCheck(), BST_CHECKED);
    SendMessageW(check->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(check->GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(parent->childIds, std::vector<int>{116});
}

TEST_F(Controls, ListOperationsAndSelectedText)
{
    auto* list = Make<ListBox>(0, 0, 100, 100, 120);
    std::string text = "untouched";
    EXPECT_EQ(list->SelectedText(text, 7), -1);
    EXPECT_EQ(text, "untouched");
    EXPECT_EQ(list->GetCurSel(), -1);

    list->AddString("Termočlánek"); // 11 characters, 12 bytes
    list->AddString("Pt100");
    list->InsertString("Odpor", -1);
    EXPECT_EQ(list->GetItemCount(), 3);
    EXPECT_EQ(list->GetItemTextLength(list->SelectString("Term", -1)), 11);
    EXPECT_EQ(list->SelectedText(text, 6), 6);
    EXPECT_EQ(text, "Termoč");
    EXPECT_EQ(list->SelectedText(text, 11), 11);
    EXPECT_EQ(text, "Termočlánek");
    EXPECT_EQ(list->SelectedText(text, 40), 11);
    EXPECT_EQ(text, "Termočlánek");
    EXPECT_LT(list->SelectString("Xyz", -1), 0);
    EXPECT_EQ(list->GetItemText(7), "");

    list->SetCurSel(0);
    EXPECT_EQ(list->GetCurSel(), 0);
    list->ResetContent();
    EXPECT_EQ(list->GetItemCount(), 0);
}

TEST_F(Controls, ComboBoxUsesItsOwnMessagesAndLimitsOnlyWhenAsked)
{
    auto* unlimited = Make<Watched<ComboBox>>(0, 0, 100, 100, 107, 0, false);
    auto* limited = Make<Watched<ComboBox>>(0, 30, 100, 100, 108, 6, true);
    EXPECT_FALSE(unlimited->Sent(CB_LIMITTEXT));
    ASSERT_TRUE(limited->Sent(CB_LIMITTEXT));
    EXPECT_EQ(std::find_if(limited->messages.begin(), limited->messages.end(),
                           [](auto& m) { return m.first == CB_LIMITTEXT; })
                  ->second,
              5u);

    limited->AddString("Napětí");
    limited->AddString("Proud");
    EXPECT_EQ(Items(*limited), (std::vector<std::string>{"Napětí", "Proud"}));
    EXPECT_TRUE(limited->Sent(CB_ADDSTRING));
    EXPECT_FALSE(limited->Sent(LB_ADDSTRING));
    limited->SetComboText("Pro");
    EXPECT_EQ(limited->GetCurSel(), 1);
    EXPECT_EQ(limited->GetText(), "Proud");
    limited->SetComboText("Odpor");
    EXPECT_EQ(limited->GetText(), "Odpor");

    // Without CBS_SORT the entries stay in the order added.
    auto* unsorted = parent->MakeChild<ComboBox>(0, 60, 100, 100, 109, 0, false);
    unsorted->SetStyle(unsorted->Style() & ~static_cast<DWORD>(CBS_SORT));
    ASSERT_TRUE(unsorted->Realize());
    unsorted->AddString("b");
    unsorted->AddString("a");
    EXPECT_EQ(Items(*unsorted), (std::vector<std::string>{"b", "a"}));
}

TEST_F(Controls, PortBoxShowsTheListOrder)
{
    auto* ports = parent->MakeChild<PortSelectBox>(0, 0, 120, 160, 101);
    ports->PortNames().AddString("COM10");
    ports->PortNames().AddString("COM2");
    ASSERT_TRUE(ports->Realize());
    std::vector<std::string> expected;
    ports->PortNames().ForEach([&](void* name) { expected.emplace_back(static_cast<const char*>(name)); });
    const std::vector<std::string> shown = Items(*ports);
    EXPECT_EQ(shown, expected);
    const auto com2 = std::find(shown.begin(), shown.end(), "COM2");
    const auto com10 = std::find(shown.begin(), shown.end(), "COM10");
    ASSERT_NE(com10, shown.end());
    EXPECT_LT(com2, com10);
    EXPECT_NE(StyleOf(*ports) & CBS_SORT, 0);
}

TEST_F(Controls, EditLimitAndEditCommands)
{
    auto* edit = Make<Watched<EditBox>>("", 0, 0, 100, 20, 130, 4, false);
    auto* multi = Make<EditBox>("", 0, 30, 100, 60, 131, 0, true);
    EXPECT_NE(StyleOf(*multi) & ES_MULTILINE, 0);
    ASSERT_TRUE(edit->Sent(EM_LIMITTEXT));
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 3);

    edit->SetText("ěšč");
    // A command for the edit object erases its text; others climb on.
    SendMessageW(edit->Handle(), WM_COMMAND, EditBox::EraseAllCommandId, 0);
    EXPECT_EQ(edit->GetText(), "");
    SendMessageW(edit->Handle(), WM_COMMAND, 777, 0);
    EXPECT_EQ(parent->defaultCommands, std::vector<int>{777});
}

TEST(WideText, RoundTripAndInvalidInput)
{
    EXPECT_EQ(Widen("Číst °C"), L"\u010C\u00EDst \u00B0C");
    EXPECT_EQ(Narrow(L"\u010C\u00EDst \u00B0C"), "Číst °C");
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Widen("a\xFFz"), L"a\uFFFDz");
    EXPECT_EQ(Narrow(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");
}
