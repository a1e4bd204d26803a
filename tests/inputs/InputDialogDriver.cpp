#include "tests/inputs/InputDialogDriver.h"

#include "framework/TextEntry.h"
#include "framework/WideText.h"

using protocol::Parameter;

std::string DialogView::caption() const
{
    return ReadWindowText(dialog);
}

std::string DialogView::text(int id) const
{
    return ReadWindowText(GetDlgItem(dialog, id));
}

bool DialogView::enabled(int id) const
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

bool DialogView::checked(int id) const
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::vector<std::string> DialogView::entries(int id) const
{
    std::vector<std::string> result;
    HWND list = GetDlgItem(dialog, id);
    const auto count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring entry(static_cast<std::size_t>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0)), L'\0');
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
        result.push_back(Narrow(entry));
    }
    return result;
}

std::string DialogView::selected(int id) const
{
    const auto index = SendMessageW(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0);
    return index < 0 ? std::string() : entries(id).at(static_cast<std::size_t>(index));
}

void DialogView::choose(int id, int index) const
{
    HWND list = GetDlgItem(dialog, id);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void DialogView::click(int id) const
{
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void DialogView::type(int id, const std::string& text) const
{
    WriteWindowText(GetDlgItem(dialog, id), text);
}

void DialogView::cancel() const
{
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

namespace {

std::function<void(DialogView&)>* pendingAction = nullptr;
UINT_PTR actTimer = 0;
UINT_PTR safetyTimer = 0;

HWND OpenDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring_view(name) != L"#32770")
                return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK OnDriverTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = OpenDialog();
    if (id == actTimer && dialog != nullptr) {
        KillTimer(nullptr, actTimer);
        if (pendingAction != nullptr) {
            DialogView view(dialog);
            (*pendingAction)(view);
        }
    } else if (id == safetyTimer && dialog != nullptr) {
        EndDialog(dialog, 99);
    }
}

} // namespace

int RunDriven(Application& app, std::unique_ptr<DialogObject> dialog, std::function<void(DialogView&)> act)
{
    // Thread timers: their messages are handled by the dialog's own loop.
    pendingAction = &act;
    actTimer = SetTimer(nullptr, 0, 10, &OnDriverTimer);
    safetyTimer = SetTimer(nullptr, 0, 10000, &OnDriverTimer);
    const int result = app.RunModal(std::move(dialog));
    KillTimer(nullptr, actTimer);
    KillTimer(nullptr, safetyTimer);
    pendingAction = nullptr;
    return result;
}

InputDialogTest::InputDialogTest()
{
    auto port = std::make_unique<MemoryConverter>();
    converter = port.get();
    link = std::make_unique<ConverterLink>(std::move(port));
    host = new Window(nullptr, "host");
    description = host->MakeChild<StaticText>("", 0, 0, 200, 20, 300, 0);
    EXPECT_TRUE(host->Realize());
}

InputDialogTest::~InputDialogTest()
{
    host->Free();
}

void InputDialogTest::configure(std::uint8_t code, float min, float max, bool linearized)
{
    converter->storeByte(Parameter::InputType, code);
    converter->storeReal(Parameter::RangeMin, min);
    converter->storeReal(Parameter::RangeMax, max);
    converter->storeByte(Parameter::CurveDegree, linearized ? 3 : 0);
    converter->storeByte(Parameter::SegmentCount, 0);
}

void InputDialogTest::fillTable()
{
    table.segmentCount = 2;
    table.segments[0] = {0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    table.segments[1] = {50.0f, 2.0f, 0.0f, 0.0f, 50.0f};
    table.min = 0.0f;
    table.max = 100.0f;
}

std::vector<Parameter> InputDialogTest::written() const
{
    std::vector<Parameter> result;
    for (const MemoryConverter::Request& w : converter->writes())
        result.push_back(w.parameter());
    return result;
}

MemoryConverter::Bytes InputDialogTest::writtenData(Parameter p) const
{
    for (const MemoryConverter::Request& w : converter->writes())
        if (w.parameter() == p)
            return w.data;
    ADD_FAILURE() << "parameter " << int(protocol::Code(p)) << " not written";
    return {};
}
