// The main window in-process, against a scripted converter: what the
// end-to-end runs cannot provoke from the simulator.
#include "mainwindow/MainWindow.h"

#include "framework/WideText.h"
#include "inputs/RtdCatalog.h"
#include "tests/device/MemoryConverter.h"

#include <gtest/gtest.h>

#include <bit>

namespace {

using P = protocol::Parameter;

std::vector<std::uint8_t> Real(float value)
{
    auto bits = std::bit_cast<std::uint32_t>(value);
    return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

const std::vector<std::uint8_t> FaultBytes = {0xFF, 0xFF, 0xFF, 0xFF};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto port = std::make_unique<MemoryConverter>();
        port->close(); // until the window opens it
        converter = port.get();
        converter->stored[P::Identity] = {'D', 'N', 'X', '8', 0, 0, 0, 0};
        window = new MainWindow(nullptr, "DNX8 config", std::make_unique<ConverterLink>(std::move(port)));
        ASSERT_TRUE(window->Realize());
        window->ShowHandle(SW_SHOWNOACTIVATE);
    }

    void TearDown() override { window->Free(); }

    HWND item(int id) const { return GetDlgItem(window->Handle(), id); }

    HWND controlAt(int x, int y) const
    {
        for (HWND c = GetWindow(window->Handle(), GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
            RECT r{};
            GetWindowRect(c, &r);
            MapWindowPoints(HWND_DESKTOP, window->Handle(), reinterpret_cast<POINT*>(&r), 2);
            if (r.left == x && r.top == y)
                return c;
        }
        return nullptr;
    }

    std::string text(HWND control) const
    {
        wchar_t buffer[64] = {};
        GetWindowTextW(control, buffer, 64);
        return Narrow(buffer);
    }

    // Picks COM3 in "Port:" as a user would.
    void connect()
    {
        HWND ports = item(MainWindow::PortListId);
        LRESULT index = SendMessageW(ports, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"COM3"));
        SendMessageW(ports, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(MainWindow::PortListId, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(ports));
    }

    void click(int id) { SendMessageW(item(id), BM_CLICK, 0, 0); }
    bool checked(int id) const { return IsDlgButtonChecked(window->Handle(), id) == BST_CHECKED; }

    MemoryConverter* converter = nullptr;
    MainWindow* window = nullptr;
};

TEST_F(MainWindowTest, ClassCarriesTheProgramIconAndTheGreyBackground)
{
    EXPECT_NE(GetClassLongPtrW(window->Handle(), GCLP_HICON), 0u);
    EXPECT_EQ(GetClassLongPtrW(window->Handle(), GCLP_HBRBACKGROUND),
              reinterpret_cast<ULONG_PTR>(GetStockObject(LTGRAY_BRUSH)));
}

TEST_F(MainWindowTest, ErrorStateShowsTheCodeTheConverterKept)
{
    connect();
    // Whatever is written, the converter keeps code 0.
    converter->onRequest = [](const MemoryConverter::Request& request) {
        return request.parameter() == P::ErrorSignalling && !request.isRead()
                   ? std::optional(MemoryConverter::Bytes{0})
                   : std::nullopt;
    };
    click(MainWindow::FirstErrorSignallingId + 2);
    ASSERT_FALSE(converter->requests.empty());
    EXPECT_EQ(converter->requests.back().command, 0x40);
    EXPECT_TRUE(checked(MainWindow::FirstErrorSignallingId));
    EXPECT_FALSE(checked(MainWindow::FirstErrorSignallingId + 2));
}

TEST_F(MainWindowTest, ErrorStateCodeWithoutAButtonChecksNone)
{
    click(MainWindow::FirstErrorSignallingId + 1);
    converter->stored[P::ErrorSignalling] = {7};
    connect();
    for (int id = MainWindow::FirstErrorSignallingId; id <= MainWindow::FirstErrorSignallingId + 3; ++id)
        EXPECT_FALSE(checked(id)) << id;
    EXPECT_FALSE(checked(MainWindow::PollCheckId)) << "the control after the group is left alone";
}

TEST_F(MainWindowTest, FaultyValuesAnswerTheColourMessageInWhiteOnRed)
{
    converter->stored[P::LiveInput] = FaultBytes;
    converter->stored[P::LiveProcess] = Real(2.5f);
    converter->stored[P::LiveValue] = FaultBytes;
    connect();
    EXPECT_EQ(window->FaultMask(), MainWindow::InputFault | MainWindow::ValueInvalid);
    EXPECT_EQ(text(controlAt(555, 165)), "Porucha");
    EXPECT_EQ(text(controlAt(555, 215)), "Neplatná");

    HDC dc = CreateCompatibleDC(nullptr);
    auto colour = [&](HWND control) {
        return SendMessageW(window->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(control));
    };
    const auto grey = reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH));

    SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_NE(colour(controlAt(555, 165)), grey);
    EXPECT_EQ(GetBkColor(dc), MainWindow::FaultColour);
    EXPECT_EQ(GetTextColor(dc), MainWindow::FaultTextColour);

    SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_EQ(colour(controlAt(555, 190)), grey);
    EXPECT_EQ(GetBkColor(dc), MainWindow::BackgroundColour);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3)) << "a regular value keeps its text colour";

    // The next regular value clears the fault.
    converter->stored[P::LiveInput] = Real(1.25f);
    SendMessageW(window->Handle(), WM_TIMER, MainWindow::PollTimerId, 0);
    EXPECT_EQ(window->FaultMask(), MainWindow::ValueInvalid);
    EXPECT_EQ(text(controlAt(555, 165)), "1.250");
    EXPECT_EQ(colour(controlAt(555, 165)), grey);
    DeleteDC(dc);
}

TEST_F(MainWindowTest, ThermometerIsRecognisedOnlyFromAPolynomialThatWasRead)
{
    RtdCatalog catalog;
    const RtdCurve* pt100 = catalog.At(RtdCatalog::DefaultIndex);
    std::vector<std::uint8_t> coefficients;
    for (float c : pt100->curveCoefficients()) {
        std::vector<std::uint8_t> bytes = Real(c);
        coefficients.insert(coefficients.end(), bytes.begin(), bytes.end());
    }
    converter->stored[P::InputType] = {7};
    converter->stored[P::CurveDegree] = {static_cast<std::uint8_t>(pt100->curveDegree())};

    connect(); // the coefficients cannot be read
    EXPECT_EQ(SendMessageW(item(MainWindow::MeasurementListId), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(text(controlAt(90, 195)), "Třídrát");

    converter->stored[P::CurveCoefficients] = coefficients;
    connect();
    EXPECT_EQ(SendMessageW(item(MainWindow::MeasurementListId), CB_GETCURSEL, 0, 0), 4);
    EXPECT_EQ(text(controlAt(90, 195)), pt100->name());
}

TEST_F(MainWindowTest, ClosingWhilePollingStopsTheTimer)
{
    click(MainWindow::PollCheckId);
    ASSERT_TRUE(window->Polling());
    HWND handle = window->Handle();
    window->DestroyHandle();
    EXPECT_FALSE(window->Polling());
    EXPECT_FALSE(IsWindow(handle));
}

} // namespace
