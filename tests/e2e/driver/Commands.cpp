#include "tests/e2e/driver/Commands.h"

#include "tests/e2e/driver/Text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>
#include <map>

namespace {

// Generous: the machine may be busy with other work. A check that holds
// returns at once.
constexpr DWORD DefaultWaitMs = 10000;

Reply Fail(std::string message)
{
    return Reply{false, std::move(message), {}};
}

Reply Ok(std::string message = {})
{
    return Reply{true, std::move(message), {}};
}

int ToInt(const std::string& text, int fallback)
{
    int value = fallback;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() ? value : fallback;
}

std::string Hex(unsigned long value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08lX", value);
    return buffer;
}

std::vector<std::string> ComboItems(HWND combo)
{
    std::vector<std::string> items;
    DWORD_PTR count = 0;
    SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &count);
    for (int i = 0; i < static_cast<int>(count); ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, i, 0, SMTO_NORMAL, 5000, &length);
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 5000,
                            &copied);
        text.resize(copied == static_cast<DWORD_PTR>(CB_ERR) ? 0 : copied);
        items.push_back(ToUtf8(text));
    }
    return items;
}

LRESULT Query(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
    return static_cast<LRESULT>(result);
}

// Colour of the screen a few pixels inside the control's left edge: the
// background of a right-aligned value field.
std::string ColourOf(HWND control)
{
    RECT r{};
    GetWindowRect(control, &r);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, r.left + 4, (r.top + r.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
           std::to_string(GetBValue(c));
}

// id, class, placement, style, extended style and text of a control.
std::string Describe(HWND child)
{
    RECT r = ClientRectOf(child);
    return std::to_string(GetDlgCtrlID(child)) + " " + ClassName(child) + " " + std::to_string(r.left) + "," +
           std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "," +
           std::to_string(r.bottom - r.top) + " " +
           Hex(static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE))) + " " +
           Hex(static_cast<unsigned long>(GetWindowLongW(child, GWL_EXSTYLE))) + " \"" + WindowText(child) +
           "\"";
}

} // namespace

std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size())
            break;
        std::string word;
        if (line[i] == '"') {
            size_t end = line.find('"', i + 1);
            if (end == std::string::npos)
                end = line.size();
            word = line.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            size_t end = line.find_first_of(" \t", i);
            if (end == std::string::npos)
                end = line.size();
            word = line.substr(i, end - i);
            i = end;
        }
        words.push_back(word);
    }
    return words;
}

Reply Commands::run(const std::vector<std::string>& w)
{
    const std::string& verb = w[0];
    auto arg = [&](size_t i) -> std::string { return i < w.size() ? w[i] : std::string(); };

    // The main window, once no dialog of it is left: by its class too, since
    // a message box of the program may carry the same caption.
    if (verb == "window") {
        if (!target.find(L"DNX8 config", L"CfgWindow", static_cast<DWORD>(ToInt(arg(1), 60000))))
            return Fail("no window titled \"DNX8 config\"");
        if (!target.waitNoDialog(30000))
            return Fail("a dialog of the window is still open");
        return target.sync() ? Ok() : Fail("window does not answer");
    }
    // Works a dialog of the program from here on, until "window".
    if (verb == "dialog") {
        if (!target.find(ToWide(arg(1)), nullptr, static_cast<DWORD>(ToInt(arg(2), 30000))))
            return Fail("no dialog titled \"" + arg(1) + "\"");
        return target.sync() ? Ok() : Fail("dialog does not answer");
    }
    if (!target.alive())
        return Fail("the window is gone");

    if (verb == "sync")
        return target.sync() ? Ok() : Fail("window does not answer");

    // Sent, not posted: the WM_NULL that follows must not overtake it. A
    // dialog ends only after its posted cancel command, so the step waits
    // until the window is gone.
    if (verb == "close") {
        if (!target.notify(target.handle(), WM_CLOSE, 0, 0))
            return Fail("window does not answer");
        return target.waitGone(static_cast<DWORD>(ToInt(arg(1), 30000))) ? Ok()
                                                                         : Fail("the window is still there");
    }

    if (verb == "expect-frame") {
        // Caption, system menu and minimize box; no maximize box, no sizing
        // border; the outer size.
        constexpr LONG frameBits = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        HWND h = target.handle();
        RECT outer{};
        GetWindowRect(h, &outer);
        std::string seen =
            ClassName(h) + " " + Hex(static_cast<unsigned long>(GetWindowLongW(h, GWL_STYLE) & frameBits)) +
            " " + std::to_string(outer.right - outer.left) + "x" + std::to_string(outer.bottom - outer.top);
        std::string expected = arg(1) + " " + arg(2) + " " + arg(3);
        return seen == expected ? Ok() : Fail("window is " + seen + ", expected " + expected);
    }

    if (verb == "dump") {
        Reply reply = Ok();
        for (HWND child : target.children())
            reply.lines.push_back(Describe(child));
        return reply;
    }

    if (verb == "expect-msgbox" || verb == "expect-no-msgbox") {
        HWND box = nullptr;
        WaitFor(verb == "expect-msgbox" ? DefaultWaitMs : 0,
                [&] { return (box = target.ownedDialog()) != nullptr; });
        if (verb == "expect-no-msgbox")
            return box == nullptr ? Ok() : Fail("unexpected message box \"" + WindowText(box) + "\"");
        if (box == nullptr)
            return Fail("no message box");
        std::string caption = WindowText(box), text;
        std::vector<HWND> buttons;
        bool icon = false;
        for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
            std::string cls = ClassName(c);
            if (cls == "Button")
                buttons.push_back(c);
            else if (cls == "Static" && (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                icon = true;
            else if (cls == "Static" && text.empty())
                text = WindowText(c);
        }
        std::string seen = "caption \"" + caption + "\" text \"" + text + "\"";
        if (caption != arg(1) || text != arg(2))
            return Fail("message box " + seen);
        if (buttons.size() != 1 || WindowText(buttons[0]) != "OK")
            return Fail("message box should have one OK button");
        if (!icon)
            return Fail("message box has no icon");
        // Left open a while on request, as a user reading it would.
        Sleep(static_cast<DWORD>(ToInt(arg(3), 0)));
        if (!target.notify(buttons[0], BM_CLICK, 0, 0))
            return Fail("window does not answer after the message box");
        return Ok(seen);
    }

    if (verb == "key") {
        // Keys go to the foreground window, as typed.
        static const std::map<std::string, WORD> keys = {
            {"TAB", VK_TAB}, {"DOWN", VK_DOWN}, {"UP", VK_UP}, {"SPACE", VK_SPACE}};
        auto key = keys.find(arg(1));
        if (key == keys.end())
            return Fail("unknown key " + arg(1));
        if (!target.activate(DefaultWaitMs))
            return Fail("the window does not become active");
        bool shift = arg(2) == "shift";
        std::vector<INPUT> inputs;
        auto press = [&](WORD vk, bool up) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = vk;
            in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(in);
        };
        if (shift)
            press(VK_SHIFT, false);
        press(key->second, false);
        press(key->second, true);
        if (shift)
            press(VK_SHIFT, true);
        // Typed keys are queued in order behind each other; what they do is
        // seen by the checks that follow, which wait for it.
        if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
            return Fail("keys not taken");
        return target.settle() ? Ok() : Fail("window does not answer");
    }

    if (verb == "expect-focus") {
        HWND expected = target.control(arg(1));
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        bool met = WaitFor(DefaultWaitMs, [&] {
            return GetGUIThreadInfo(GetWindowThreadProcessId(target.handle(), nullptr), &info) &&
                   info.hwndFocus == expected && expected != nullptr;
        });
        if (met)
            return Ok();
        return Fail("focus is on " +
                    (info.hwndFocus != nullptr ? Describe(info.hwndFocus) : std::string("nothing")));
    }

    if (verb == "wait-gone") {
        HWND h = target.handle();
        return WaitFor(static_cast<DWORD>(ToInt(arg(1), 10000)), [&] { return !IsWindow(h); })
                   ? Ok()
                   : Fail("the window is still there");
    }

    HWND ctl = target.control(arg(1));
    if (ctl == nullptr)
        return Fail("no control " + arg(1));
    int id = GetDlgCtrlID(ctl);

    if (verb == "text")
        return Ok(WindowText(ctl));

    if (verb == "info")
        return Ok(Describe(ctl));

    // Succeeds too when the click closes the window (OK of a dialog).
    if (verb == "click")
        return target.notify(ctl, BM_CLICK, 0, 0) ? Ok() : Fail("window does not answer");

    if (verb == "type") {
        std::wstring text = ToWide(arg(2));
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(ctl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                                 5000, &result))
            return Fail("control does not answer");
        return Ok();
    }

    if (verb == "select") {
        std::vector<std::string> items = ComboItems(ctl);
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i] == arg(2)) {
                Query(ctl, CB_SETCURSEL, i);
                bool done = target.notify(GetParent(ctl), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                                          reinterpret_cast<LPARAM>(ctl));
                return done ? Ok() : Fail("window does not answer");
            }
        }
        return Fail("no entry \"" + arg(2) + "\" in " + arg(1));
    }

    if (verb == "items") {
        Reply reply = Ok();
        reply.lines = ComboItems(ctl);
        return reply;
    }

    if (verb == "expect-items") {
        std::vector<std::string> expected(w.begin() + 2, w.end());
        std::vector<std::string> items = ComboItems(ctl);
        if (items == expected)
            return Ok();
        std::string seen;
        for (const std::string& item : items)
            seen += " \"" + item + "\"";
        return Fail("entries:" + seen);
    }

    // The remaining checks wait a while for the expected state: live values
    // change on the program's timer.
    DWORD wait = static_cast<DWORD>(ToInt(arg(3), DefaultWaitMs));
    std::string seen;
    auto expect = [&](const std::function<std::string()>& observe) {
        bool met = WaitFor(wait, [&] { return (seen = observe()) == arg(2); });
        return met ? Ok() : Fail(arg(1) + " is \"" + seen + "\", expected \"" + arg(2) + "\"");
    };
    if (verb == "expect")
        return expect([&] { return WindowText(ctl); });
    // The text stays as expected for a while, and the window keeps
    // answering: each look is a message it must handle within 5 s.
    if (verb == "expect-steady") {
        DWORD start = GetTickCount(), slowest = 0;
        do {
            DWORD asked = GetTickCount();
            seen = WindowText(ctl);
            slowest = std::max(slowest, GetTickCount() - asked);
            if (seen != arg(2))
                return Fail(arg(1) + " is \"" + seen + "\" after " + std::to_string(GetTickCount() - start) +
                            " ms, expected \"" + arg(2) + "\"");
            Sleep(50);
        } while (GetTickCount() - start < wait);
        return Ok("answered within " + std::to_string(slowest) + " ms");
    }
    if (verb == "expect-sel")
        return expect([&] { return std::to_string(Query(ctl, CB_GETCURSEL)); });
    if (verb == "expect-check")
        return expect([&] { return std::to_string(Query(ctl, BM_GETCHECK)); });
    if (verb == "expect-colour")
        return expect([&] { return ColourOf(ctl); });
    if (verb == "colour")
        return Ok(ColourOf(ctl));

    return Fail("unknown command " + verb);
}
