#include "FrameworkTestIds.h"
#include "WindowTestSupport.h"

#include "framework/Application.h"
#include "framework/PushButton.h"
#include "framework/TextEntry.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A main window that lets a test act once the loop runs.
class ScriptedMainWindow : public RecordingWindow {
public:
    ScriptedMainWindow(std::string_view title, std::function<bool(ScriptedMainWindow&)> ready)
        : RecordingWindow(nullptr, title), readyToClose(std::move(ready))
    {
    }
    bool ReadyToClose() override { return readyToClose(*this); }
    std::function<bool(ScriptedMainWindow&)> readyToClose;
};

class TestApplication : public Application {
public:
    using Factory = std::function<std::unique_ptr<Window>(const std::string&)>;
    TestApplication(std::string name, Factory make) : Application(std::move(name)), factory(std::move(make))
    {
    }
    std::unique_ptr<Window> CreateMainWindow() override
    {
        return factory ? factory(Name()) : Application::CreateMainWindow();
    }
    Factory factory;
};

// Ends itself the way a test says, once the modal loop runs: posted
// messages are handled by that loop. A timer ends a stuck dialog with 99.
class ScriptedDialog : public DialogObject {
public:
    ScriptedDialog(int templateId, std::function<void(ScriptedDialog&)> act, bool* freedFlag = nullptr)
        : DialogObject(nullptr, templateId), action(std::move(act)), freed(freedFlag)
    {
    }
    ~ScriptedDialog() override
    {
        if (freed != nullptr)
            *freed = true;
    }
    void SetUp() override
    {
        DialogObject::SetUp();
        SetTimer(Handle(), SafetyTimer, 10000, nullptr);
        PostMessageW(Handle(), ActMessage, 0, 0);
    }
    void Dispatch(WindowMessage& msg) override
    {
        if (msg.message == ActMessage)
            action(*this);
        else if (msg.message == WM_TIMER && msg.wParam == SafetyTimer)
            EndDialog(99);
        else
            DialogObject::Dispatch(msg);
    }
    bool ReadyToClose() override
    {
        ++*closeQuestions;
        return allowClose;
    }

    static constexpr UINT ActMessage = WM_APP + 1;
    static constexpr UINT_PTR SafetyTimer = 99;
    std::function<void(ScriptedDialog&)> action;
    bool* freed;
    bool allowClose = true;
    int ownQuestions = 0;
    int* closeQuestions = &ownQuestions; // outlives the dialog when a test points it elsewhere
};

void ClickButton(const DialogObject& dialog, int id)
{
    PostMessageW(GetDlgItem(dialog.Handle(), id), BM_CLICK, 0, 0);
}

} // namespace

TEST(Application, StartShowsTitledMainWindowAndLoopEndsWhenItCloses)
{
    bool freed = false;
    TestApplication app("DNX8 config – zkouška", [&](const std::string& name) {
        auto window = std::make_unique<RecordingWindow>(nullptr, name);
        window->freed = &freed;
        return window;
    });
    EXPECT_EQ(Application::Instance(), &app);
    app.Start();
    Window* main = app.MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    EXPECT_EQ(ReadWindowText(main->Handle()), "DNX8 config – zkouška");

    PostMessageW(main->Handle(), WM_CLOSE, 0, 0);
    app.RunLoop();
    EXPECT_TRUE(app.QuitReceived());
    EXPECT_TRUE(freed);
    EXPECT_EQ(app.MainWindow(), nullptr);
}

TEST(Application, RefusedCloseKeepsTheMainWindowAndTheLoop)
{
    int asked = 0;
    bool aliveAfterRefusal = false;
    TestApplication app("refuse", [&](const std::string& name) {
        return std::make_unique<ScriptedMainWindow>(name, [&](ScriptedMainWindow& window) {
            if (++asked == 1) {
                // Refuse, and try again through the running loop.
                PostMessageW(window.Handle(), WM_COMMAND, WindowObject::ExitCommandId, 0);
                return false;
            }
            aliveAfterRefusal = IsWindow(window.Handle()) != FALSE;
            return true;
        });
    });
    app.Start();
    ASSERT_NE(app.MainWindow(), nullptr);
    PostMessageW(app.MainWindow()->Handle(), WM_CLOSE, 0, 0);
    app.RunLoop();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(aliveAfterRefusal);
    EXPECT_EQ(app.MainWindow(), nullptr);
}

TEST(Application, MainWindowThatCannotBeRealisedIsDiscarded)
{
    bool freed = false;
    TestApplication app("broken", [&](const std::string&) {
        // A dialog item of no parent: realising it fails.
        struct Broken : Window {
            explicit Broken(bool* f) : Window(nullptr, 5), flag(f) {}
            ~Broken() override { *flag = true; }
            bool* flag;
        };
        return std::make_unique<Broken>(&freed);
    });
    app.Start();
    EXPECT_EQ(app.MainWindow(), nullptr);
    EXPECT_TRUE(freed);
    app.RunLoop(); // returns at once
    EXPECT_FALSE(app.QuitReceived());
}

TEST(Application, EndingWithAnOpenMainWindowFreesItAndLeavesNoQuit)
{
    PumpPending();
    bool freed = false;
    {
        TestApplication app("open", [&](const std::string& name) {
            auto window = std::make_unique<RecordingWindow>(nullptr, name);
            window->freed = &freed;
            return window;
        });
        app.Start();
    }
    EXPECT_TRUE(freed);
    EXPECT_EQ(Application::Instance(), nullptr);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(Application, MainWindowEndSessionAsksTheApplication)
{
    bool allow = false;
    TestApplication app("session", [&](const std::string& name) {
        return std::make_unique<ScriptedMainWindow>(name, [&](ScriptedMainWindow&) { return allow; });
    });
    app.Start();
    HWND main = app.MainWindow()->Handle();
    EXPECT_EQ(SendMessageW(main, WM_QUERYENDSESSION, 0, 0), 0);
    allow = true;
    EXPECT_EQ(SendMessageW(main, WM_QUERYENDSESSION, 0, 0), 1);
}

TEST(Application, DialogKeysWindowFollowsActivation)
{
    TestApplication app("keys", [](const std::string& name) {
        auto window = std::make_unique<RecordingWindow>(nullptr, name);
        window->SetFlag(WindowObject::DialogKeys);
        window->MakeChild<PushButton>("1", 10, 10, 60, 20, 11);
        window->MakeChild<PushButton>("2", 10, 40, 60, 20, 12);
        return window;
    });
    app.Start();
    HWND main = app.MainWindow()->Handle();
    SendMessageW(main, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(app.DialogKeysWindow(), app.MainWindow());

    // Tab is a dialog key: IsDialogMessage moves the focus and the loop
    // neither translates nor dispatches the key.
    HWND first = GetDlgItem(main, 11);
    HWND second = GetDlgItem(main, 12);
    SetForegroundWindow(main);
    SetFocus(first);
    MSG tab{first, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(app.PreTranslate(tab));
    EXPECT_EQ(GetFocus(), second);

    SendMessageW(main, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(app.DialogKeysWindow(), nullptr);
    EXPECT_FALSE(app.PreTranslate(tab));
}

TEST(Application, FreedDialogKeysWindowIsForgotten)
{
    TestApplication app("forget", nullptr);
    auto* other = new RecordingWindow(nullptr, "other");
    other->SetFlag(WindowObject::DialogKeys);
    ASSERT_TRUE(other->Realize());
    SendMessageW(other->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(app.DialogKeysWindow(), other);
    other->Free();
    EXPECT_EQ(app.DialogKeysWindow(), nullptr);
}

TEST(RunModal, ResultsOfEveryWayOut)
{
    TestApplication app("modal", nullptr);
    struct Way {
        const char* name;
        int templateId;
        std::function<void(ScriptedDialog&)> act;
        int expected;
    };
    const Way ways[] = {
        {"OK button", FullDialogId, [](ScriptedDialog& d) { ClickButton(d, IDOK); }, IDOK},
        {"Cancel button", FullDialogId, [](ScriptedDialog& d) { ClickButton(d, IDCANCEL); }, IDCANCEL},
        {"Escape", FullDialogId,
         [](ScriptedDialog& d) { PostMessageW(d.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
        {"Escape without a Cancel button", OkOnlyDialogId,
         [](ScriptedDialog& d) { PostMessageW(d.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
        {"close box", FullDialogId,
         [](ScriptedDialog& d) { PostMessageW(d.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
        {"Enter", OkOnlyDialogId,
         [](ScriptedDialog& d) { PostMessageW(d.Handle(), WM_KEYDOWN, VK_RETURN, 0); }, IDOK},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        bool freed = false;
        EXPECT_EQ(app.RunModal(std::make_unique<ScriptedDialog>(way.templateId, way.act, &freed)),
                  way.expected);
        EXPECT_TRUE(freed);
    }
}

TEST(RunModal, RefusedOkKeepsTheDialogAndTheCloseBoxDoesNotAsk)
{
    TestApplication app("modal", nullptr);
    int questions = 0;
    bool openAfterRefusal = false;
    std::string caption;
    int stage = 0;
    auto dialog = std::make_unique<ScriptedDialog>(FullDialogId, [&](ScriptedDialog& d) {
        if (++stage == 1) {
            caption = ReadWindowText(d.Handle());
            d.allowClose = false;
            SendMessageW(GetDlgItem(d.Handle(), IDOK), BM_CLICK, 0, 0);
            // Handled only if the modal loop goes on.
            PostMessageW(d.Handle(), ScriptedDialog::ActMessage, 0, 0);
        } else {
            openAfterRefusal = true;
            PostMessageW(d.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
    });
    dialog->closeQuestions = &questions;
    EXPECT_EQ(app.RunModal(std::move(dialog)), IDCANCEL);
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(caption, "Termočlánek");
}

TEST(RunModal, NullAndMissingTemplate)
{
    TestApplication app("modal", nullptr);
    EXPECT_EQ(app.RunModal(nullptr), IDCANCEL);
    bool freed = false;
    EXPECT_EQ(app.RunModal(std::make_unique<ScriptedDialog>(
                  MissingDialogId, [](ScriptedDialog&) {}, &freed)),
              -1);
    EXPECT_TRUE(freed);
}
