#pragma once

#include "framework/Control.h"

#include <string>
#include <string_view>
#include <vector>

class StringCollection;

// The list operations; list boxes and combo boxes map them to their own
// messages (MessageFor), so the same operations serve both.
enum class ListOperation : int {
    AddString,
    InsertString,
    DeleteString,
    ResetContent,
    Count,
    ItemText,
    ItemTextLength,
    SelectString,
    CurrentSelection,
    SetSelection,
    ItemData,
    SetItemData,
};

// Transfer entry of a list box. strings (not owned) fills the list on
// SetValues; null leaves the entries alone.
struct ListBoxTransfer {
    StringCollection* strings = nullptr;
    int selection = -1;                     // single-selection lists
    std::vector<int>* selections = nullptr; // LBS_MULTIPLESEL lists; null: not transferred
};

// A list box (sorted, notifying). Indices and results are the system's:
// -1 (LB_ERR) for none or failure, -2 when out of space.
class ListBox : public Control {
public:
    ListBox(WindowObject* parent, int x, int y, int width, int height, int id);
    ListBox(WindowObject* parent, int id);

    const wchar_t* WindowClassName() const override { return L"Listbox"; }
    std::size_t TransferValues(void* buffer, TransferDirection direction) override;
    virtual UINT MessageFor(ListOperation operation) const;

    int AddString(std::string_view text);
    // index -1 appends.
    int InsertString(std::string_view text, int index);
    void ResetContent();
    int GetItemCount() const;
    // Empty for an index out of range.
    std::string GetItemText(int index) const;
    // In UTF-16 units, as the control counts; -1 for an index out of range.
    int GetItemTextLength(int index) const;
    // First entry from startIndex on that begins with text, negative if none.
    int SelectString(std::string_view text, int startIndex);
    int GetCurSel() const;
    void SetCurSel(int index);
    // The selected entry cut to maxChars characters; returns its length, or
    // -1 with text untouched when nothing is selected.
    int SelectedText(std::string& text, int maxChars) const;

protected:
    LRESULT SendList(ListOperation operation, WPARAM wParam, LPARAM lParam) const;
    // Fills the list from strings in their order.
    void AddAll(const StringCollection& strings);
};
