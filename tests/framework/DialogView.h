#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What a user sees and does in an open dialog or message box, by control
// id. Clicks, choices and typing are sent, so they have taken effect when
// the call returns; the close box and Escape are posted, as a user's are.
class DialogView {
public:
    explicit DialogView(HWND window) : window(window) {}

    HWND handle() const { return window; }
    std::string caption() const;
    std::string text(int id) const;
    bool enabled(int id) const;
    bool checked(int id) const;
    // The entries of a combo box, the index of the selected one (-1 for
    // none) and its text ("" for none).
    std::vector<std::string> entries(int id) const;
    int selection(int id) const;
    std::string selected(int id) const;

    // A message box: its text, whether it shows an icon, its button ids.
    std::string message() const;
    bool showsIcon() const;
    std::vector<int> buttons() const;

    // Picks entry index of a combo box, with the notification the mouse gives.
    void choose(int id, int index) const;
    void click(int id) const;
    void type(int id, const std::string& text) const;
    void ok() const { click(IDOK); }
    // The close box.
    void cancel() const;
    void escape() const;

private:
    std::vector<HWND> children(const wchar_t* windowClass) const;

    HWND window;
};
