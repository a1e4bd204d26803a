#include "WindowTestSupport.h"

#include "framework/CheckBox.h"
#include "framework/PushButton.h"
#include "framework/WindowBinding.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Records every message in arrival order and whether the object already
// knew its window then.
class FirstMessageWindow : public Window {
public:
    FirstMessageWindow() : Window(nullptr, "First") {}
    void Dispatch(WindowMessage& msg) override
    {
        if (messages.empty())
            boundAtFirst = Handle() == msg.hwnd;
        messages.push_back(msg.message);
        Window::Dispatch(msg);
    }
    void SetUp() override
    {
        setUpWithHandle = Handle() != nullptr;
        Window::SetUp();
    }
    std::vector<UINT> messages;
    bool boundAtFirst = false;
    bool setUpWithHandle = false;
};

// A control of the system's scroll-bar class, to see scroll routing.
class ScrollBarControl : public Control {
public:
    ScrollBarControl(WindowObject* parent, int id) : Control(parent, "", 0, 0, 100, 16, id)
    {
        SetStyle(WS_CHILD | WS_VISIBLE | SBS_HORZ);
    }
    const wchar_t* WindowClassName() const override { return L"ScrollBar"; }
    void OnNotification(WindowMessage& msg, int code) override
    {
        codes.push_back(code);
        Control::OnNotification(msg, code);
    }
    std::vector<int> codes;
};

class NotifyingButton : public PushButton {
public:
    using PushButton::PushButton;
    void OnNotification(WindowMessage& msg, int code) override
    {
        codes.push_back(code);
        PushButton::OnNotification(msg, code);
    }
    std::vector<int> codes;
};

struct Owned {
    explicit Owned(std::unique_ptr<RecordingWindow> w) : window(w.release()) { window->Realize(); }
    ~Owned()
    {
        if (window != nullptr)
            window->Free();
    }
    RecordingWindow* window;
};

HWND PlainChild(HWND parent, const wchar_t* cls, int id, DWORD style = WS_CHILD | WS_VISIBLE)
{
    return CreateWindowExW(0, cls, L"", style, 0, 0, 50, 20, parent, reinterpret_cast<HMENU>(INT_PTR{id}),
                           ModuleInstance(), nullptr);
}

} // namespace

TEST(WindowObject, FirstMessageReachesBoundObjectAndSetUpRunsOnCreate)
{
    auto* window = new FirstMessageWindow;
    ASSERT_TRUE(window->Realize());
    EXPECT_TRUE(window->boundAtFirst);
    EXPECT_TRUE(window->setUpWithHandle);
    ASSERT_FALSE(window->messages.empty());
    EXPECT_NE(std::find(window->messages.begin(), window->messages.end(), WM_NCCREATE),
              window->messages.end());
    EXPECT_NE(std::find(window->messages.begin(), window->messages.end(), WM_CREATE), window->messages.end());
    wchar_t className[32] = {};
    GetClassNameW(window->Handle(), className, 32);
    EXPECT_STREQ(className, L"CfgWindow");
    window->Free();
}

TEST(WindowObject, ObjectOfWindowAndTheObjectMessage)
{
    Owned top(std::make_unique<RecordingWindow>());
    HWND hwnd = top.window->Handle();
    EXPECT_EQ(ObjectOfWindow(hwnd), top.window);
    EXPECT_EQ(SendMessageW(hwnd, ObjectPointerMessage(), 0, 0), reinterpret_cast<LRESULT>(top.window));
    wchar_t name[32] = {};
    GetClipboardFormatNameW(ObjectPointerMessage(), name, 32);
    EXPECT_STREQ(name, L"CfgObjectPtr");

    HWND plain = PlainChild(hwnd, L"Button", 300);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(ObjectOfWindow(plain), nullptr);
    EXPECT_EQ(SendMessageW(plain, ObjectPointerMessage(), 0, 0), 0);
    DestroyWindow(plain);
    EXPECT_EQ(ObjectOfWindow(plain), nullptr);
    EXPECT_EQ(ObjectOfWindow(nullptr), nullptr);
}

TEST(WindowObject, NotificationsReachTheParentByIdWithOrWithoutObject)
{
    Owned top(std::make_unique<RecordingWindow>());
    auto* withObject = top.window->MakeChild<NotifyingButton>("A", 0, 0, 50, 20, 301);
    ASSERT_TRUE(withObject->Realize());
    HWND withoutObject =
        PlainChild(top.window->Handle(), L"Button", 302, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);

    SendMessageW(withObject->Handle(), BM_CLICK, 0, 0);
    SendMessageW(withoutObject, BM_CLICK, 0, 0);

    EXPECT_EQ(withObject->codes, std::vector<int>{BN_CLICKED});
    EXPECT_EQ(top.window->childIds, (std::vector<int>{301, 302}));
}

TEST(WindowObject, ScrollBarsRouteLikeControls)
{
    Owned top(std::make_unique<RecordingWindow>());
    auto* bound = top.window->MakeChild<ScrollBarControl>(401);
    ASSERT_TRUE(bound->Realize());
    HWND plain = PlainChild(top.window->Handle(), L"ScrollBar", 402);

    SendMessageW(top.window->Handle(), WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bound->Handle()));
    SendMessageW(top.window->Handle(), WM_VSCROLL, SB_PAGEUP, reinterpret_cast<LPARAM>(plain));

    EXPECT_EQ(bound->codes, std::vector<int>{SB_LINEDOWN});
    EXPECT_EQ(top.window->childIds, (std::vector<int>{401, 402}));
}

TEST(WindowObject, MenuCommandClimbsToTheTopWindowsDefault)
{
    Owned top(std::make_unique<RecordingWindow>());
    auto* child = top.window->MakeChild<RecordingWindow>("child");
    ASSERT_TRUE(child->Realize());

    SendMessageW(child->Handle(), WM_COMMAND, 500, 0);

    EXPECT_TRUE(child->defaultCommands.empty());
    EXPECT_EQ(top.window->defaultCommands, std::vector<int>{500});
}

TEST(WindowObject, RefusedCloseKeepsObjectAndWindow)
{
    bool freed = false;
    auto window = std::make_unique<RecordingWindow>();
    window->freed = &freed;
    RecordingWindow* raw = window.release();
    ASSERT_TRUE(raw->Realize());
    HWND hwnd = raw->Handle();

    raw->allowClose = false;
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(freed);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(raw->closeQuestions, 1);

    raw->allowClose = true;
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(freed);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(WindowObject, ReadyToCloseAndEndSessionAskChildrenUntilOneRefuses)
{
    Owned top(std::make_unique<RecordingWindow>());
    auto* first = top.window->MakeChild<RecordingWindow>("1");
    auto* second = top.window->MakeChild<RecordingWindow>("2");
    auto* third = top.window->MakeChild<RecordingWindow>("3");
    second->allowClose = false;

    EXPECT_EQ(SendMessageW(top.window->Handle(), WM_QUERYENDSESSION, 0, 0), 0);
    EXPECT_EQ(first->closeQuestions, 1);
    EXPECT_EQ(second->closeQuestions, 1);
    EXPECT_EQ(third->closeQuestions, 0);

    second->allowClose = true;
    EXPECT_EQ(SendMessageW(top.window->Handle(), WM_QUERYENDSESSION, 0, 0), 1);
}

TEST(WindowObject, ChildThatFailsToRealiseStopsTheRestAndTheTransfer)
{
    for (bool failing : {false, true}) {
        SCOPED_TRACE(failing ? "with a failing child" : "all children realise");
        auto window = std::make_unique<RecordingWindow>();
        auto* check = window->MakeChild<CheckBox>("check", 0, 0, 80, 20, 501);
        check->SetFlag(WindowObject::TransferEnabled);
        // A dialog item that the plain parent window does not have.
        Window* missing = failing ? window->MakeChild<Window>(4242) : nullptr;
        auto* last = window->MakeChild<PushButton>("last", 0, 30, 80, 20, 502);
        std::int32_t record = BST_CHECKED;
        window->SetTransferBuffer(&record);
        Owned top(std::move(window));

        EXPECT_NE(check->Handle(), nullptr);
        if (failing) {
            EXPECT_EQ(missing->Handle(), nullptr);
            EXPECT_EQ(last->Handle(), nullptr);
            EXPECT_EQ(check->GetCheck(), BST_UNCHECKED);
        } else {
            EXPECT_NE(last->Handle(), nullptr);
            EXPECT_EQ(check->GetCheck(), BST_CHECKED);
        }
    }
}

TEST(WindowObject, WindowsDestroyedByTheSystemLeaveNoStaleHandles)
{
    bool childFreed = false;
    auto* top = new RecordingWindow;
    auto* child = top->MakeChild<RecordingWindow>("child");
    child->freed = &childFreed;
    auto* button = top->MakeChild<PushButton>("b", 0, 0, 50, 20, 601);
    ASSERT_TRUE(top->Realize());
    HWND buttonHandle = button->Handle();

    // The system destroys the children's windows with their parent's.
    DestroyWindow(top->Handle());
    EXPECT_EQ(top->Handle(), nullptr);
    EXPECT_EQ(child->Handle(), nullptr);
    EXPECT_EQ(button->Handle(), nullptr);
    EXPECT_EQ(ObjectOfWindow(buttonHandle), nullptr);

    // Operations on objects without a window do nothing.
    button->ShowHandle(SW_SHOW);
    button->DisableHandle();
    top->Free();
    EXPECT_TRUE(childFreed);
}

TEST(WindowObject, FreeingAChildUnlinksItAndFreeingTheParentFreesTheRest)
{
    bool firstFreed = false;
    bool secondFreed = false;
    Owned top(std::make_unique<RecordingWindow>());
    auto* first = top.window->MakeChild<RecordingWindow>("1");
    auto* second = top.window->MakeChild<RecordingWindow>("2");
    first->freed = &firstFreed;
    second->freed = &secondFreed;
    ASSERT_TRUE(first->Realize());
    HWND firstHandle = first->Handle();

    first->Free();
    EXPECT_TRUE(firstFreed);
    EXPECT_FALSE(IsWindow(firstHandle));
    EXPECT_EQ(top.window->ChildCount(), 1);

    top.window->Free();
    top.window = nullptr;
    EXPECT_TRUE(secondFreed);
}

TEST(WindowObject, ItemOfAnotherObjectIsNotTakenOver)
{
    Owned top(std::make_unique<RecordingWindow>());
    auto* owner = top.window->MakeChild<PushButton>("b", 0, 0, 50, 20, 701);
    ASSERT_TRUE(owner->Realize());
    auto* intruder = top.window->MakeChild<Window>(701);

    EXPECT_FALSE(intruder->Realize());
    EXPECT_EQ(intruder->Handle(), nullptr);
    EXPECT_EQ(ObjectOfWindow(owner->Handle()), owner);
}

TEST(WindowObject, ChildPlacementIsInParentClientCoordinates)
{
    Owned top(std::make_unique<RecordingWindow>());
    auto* button = top.window->MakeChild<PushButton>("b", 30, 40, 70, 25, 801);
    ASSERT_TRUE(button->Realize());
    SetWindowPos(button->Handle(), nullptr, 35, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    button->UpdatePlacement();
    EXPECT_EQ(button->X(), 35);
    EXPECT_EQ(button->Y(), 45);
    EXPECT_EQ(button->Width(), 70);
    EXPECT_EQ(button->Height(), 25);
}
