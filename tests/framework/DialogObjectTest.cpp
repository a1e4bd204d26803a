#include "FrameworkTestIds.h"
#include "WindowTestSupport.h"

#include "framework/Application.h"
#include "framework/CheckBox.h"
#include "framework/ComboBox.h"
#include "framework/DialogObject.h"
#include "framework/EditBox.h"
#include "framework/ListBox.h"
#include "framework/StringCollection.h"
#include "framework/TextEntry.h"
#include "framework/WindowBinding.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class RecordingList : public ListBox {
public:
    using ListBox::ListBox;
    void OnNotification(WindowMessage& msg, int code) override
    {
        codes.push_back(code);
        ListBox::OnNotification(msg, code);
    }
    bool ReadyToClose() override { return allowClose; }
    std::vector<int> codes;
    bool allowClose = true;
};

// The full test template, realised modeless, with objects on its items.
class TestDialog : public DialogObject {
public:
    explicit TestDialog(bool* freedFlag = nullptr)
        : DialogObject(nullptr, FullDialogId), list(MakeChild<RecordingList>(ListId)),
          check(MakeChild<CheckBox>(CheckId)), edit(MakeChild<EditBox>(EditId, 8)),
          combo(MakeChild<ComboBox>(ComboId, 8)), freed(freedFlag)
    {
    }
    ~TestDialog() override
    {
        if (freed != nullptr)
            *freed = true;
    }
    void OnChildNotification(WindowMessage& msg, int id) override
    {
        childIds.push_back(id);
        DialogObject::OnChildNotification(msg, id);
    }

    RecordingList* list;
    CheckBox* check;
    EditBox* edit;
    ComboBox* combo;
    bool* freed;
    std::vector<int> childIds;
};

// Frees a dialog that a test left open.
struct Modeless {
    Modeless() : freed(false), dialog(new TestDialog(&freed)) {}
    ~Modeless()
    {
        if (!freed)
            dialog->Free();
    }
    bool freed;
    TestDialog* dialog;
};

// The transfer record of TestDialog: its transfer-enabled children's
// entries back to back, in construction order.
#pragma pack(push, 1)
struct TestRecord {
    ListBoxTransfer list;
    std::int32_t check;
    char edit[8];
    StringCollection* comboStrings;
    char comboText[8];
};
#pragma pack(pop)

} // namespace

TEST(DialogObject, ModelessDialogBindsItemsAndRoutesTheirNotifications)
{
    Modeless m;
    ASSERT_TRUE(m.dialog->Realize());
    EXPECT_TRUE(m.dialog->HasFlags(WindowObject::DialogKeys));
    EXPECT_EQ(ObjectOfWindow(m.dialog->Handle()), m.dialog);
    EXPECT_EQ(SendMessageW(m.dialog->Handle(), ObjectPointerMessage(), 0, 0),
              reinterpret_cast<LRESULT>(m.dialog));
    ASSERT_NE(m.dialog->list->Handle(), nullptr);
    EXPECT_EQ(ObjectOfWindow(m.dialog->list->Handle()), m.dialog->list);
    EXPECT_EQ(ReadWindowText(m.dialog->Handle()), "Termočlánek");
    EXPECT_EQ(ReadWindowText(GetDlgItem(m.dialog->Handle(), LabelId)), "Převodník není kompatibilní");

    m.dialog->list->codes.clear(); // focus notifications of the dialog's start
    m.dialog->childIds.clear();
    SendMessageW(m.dialog->Handle(), WM_COMMAND, MAKEWPARAM(ListId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(m.dialog->list->Handle()));
    EXPECT_EQ(m.dialog->list->codes, std::vector<int>{LBN_SELCHANGE});
    EXPECT_EQ(m.dialog->childIds, std::vector<int>{ListId});
}

TEST(DialogObject, EndSessionAnswerComesThroughTheDialogManager)
{
    Modeless m;
    ASSERT_TRUE(m.dialog->Realize());
    EXPECT_EQ(SendMessageW(m.dialog->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    m.dialog->list->allowClose = false;
    EXPECT_EQ(SendMessageW(m.dialog->Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
}

TEST(DialogObject, StaticPartsAreLightGrey)
{
    Modeless m;
    ASSERT_TRUE(m.dialog->Realize());
    HDC dc = GetDC(m.dialog->Handle());
    HWND label = GetDlgItem(m.dialog->Handle(), LabelId);
    const LRESULT brush = SendMessageW(m.dialog->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH)));
    EXPECT_EQ(GetBkColor(dc), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(SendMessageW(m.dialog->Handle(), WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0),
              reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH)));
    ReleaseDC(m.dialog->Handle(), dc);
}

TEST(DialogObject, ModelessOkAndCancelCloseAndFreeUnlessRefused)
{
    for (int button : {IDOK, IDCANCEL}) {
        Modeless m;
        ASSERT_TRUE(m.dialog->Realize());
        HWND hwnd = m.dialog->Handle();
        m.dialog->list->allowClose = false;
        SendMessageW(GetDlgItem(hwnd, button), BM_CLICK, 0, 0);
        EXPECT_FALSE(m.freed);
        m.dialog->list->allowClose = true;
        SendMessageW(GetDlgItem(hwnd, button), BM_CLICK, 0, 0);
        EXPECT_TRUE(m.freed);
        EXPECT_FALSE(IsWindow(hwnd));
    }
}

TEST(DialogObject, TemplateByName)
{
    struct Named : DialogObject {
        Named() : DialogObject(nullptr, "NAMEDDIALOG") {}
    };
    auto* named = new Named;
    ASSERT_TRUE(named->Realize());
    EXPECT_EQ(ReadWindowText(named->Handle()), "Odpor");
    named->Free();
}

TEST(DialogObject, TransferRecordFillsAndReadsTheItems)
{
    StringCollection listStrings(4, 4);
    listStrings.AddString("beta");
    listStrings.AddString("alfa");
    StringCollection comboStrings(4, 4);
    comboStrings.AddString("Pt100");
    comboStrings.AddString("Ni100");
    TestRecord record{};
    record.list.strings = &listStrings;
    record.list.selection = 1;
    record.check = BST_CHECKED;
    std::strcpy(record.edit, "Žluť");
    record.comboStrings = &comboStrings;
    std::strcpy(record.comboText, "Pt");

    Modeless m;
    m.dialog->SetTransferBuffer(&record);
    ASSERT_TRUE(m.dialog->Realize());
    TestDialog& d = *m.dialog;
    EXPECT_EQ(d.list->GetItemCount(), 2);
    EXPECT_EQ(d.list->GetItemText(d.list->GetCurSel()), "beta");
    EXPECT_EQ(d.check->GetCheck(), BST_CHECKED);
    EXPECT_EQ(d.edit->GetText(), "Žluť");
    EXPECT_EQ(d.combo->GetText(), "Pt100");

    // Back into the record; the edit text is cut to 7 bytes, whole letters.
    d.list->SetCurSel(0);
    d.check->SetCheck(BST_UNCHECKED);
    d.edit->SetText("ČtyřČára");
    WriteWindowText(d.combo->Handle(), "Ni");
    d.TransferAll(TransferDirection::GetValues);
    EXPECT_EQ(record.list.selection, 0);
    EXPECT_EQ(record.check, BST_UNCHECKED);
    EXPECT_STREQ(record.edit, "Čtyř");
    EXPECT_STREQ(record.comboText, "Ni");
}
