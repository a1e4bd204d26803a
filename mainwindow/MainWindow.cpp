#include "mainwindow/MainWindow.h"

#include "device/ParameterTexts.h"
#include "framework/Application.h"
#include "framework/CheckBox.h"
#include "framework/ComboBox.h"
#include "framework/PortSelectBox.h"
#include "framework/RadioButton.h"
#include "framework/ValueDisplay.h"
#include "framework/ValueEdit.h"
#include "framework/WindowBinding.h"
#include "inputs/win32/InputDialogFactory.h"
#include "inputs/RtdCatalog.h"
#include "inputs/win32/RtdDialog.h"
#include "inputs/ThermocoupleCatalog.h"
#include "inputs/win32/ThermocoupleDialog.h"
#include "linearization/win32/LinearizationImport.h"
#include "linearization/LinearizationTable.h"

#include <string>

namespace {

constexpr DWORD MainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; // fixed size
constexpr int MainWindowWidth = 675;
constexpr int MainWindowHeight = 510;
constexpr int MaxFilter = 30;

} // namespace

MainWindow::MainWindow(WindowObject* parent, std::string_view title)
    : MainWindow(parent, title, std::make_unique<ConverterLink>())
{
}

MainWindow::MainWindow(WindowObject* parent, std::string_view title,
                       std::unique_ptr<ConverterLink> converterLink)
    : Window(parent, title)
{
    SetStyle(MainWindowStyle);
    SetPlacement(CW_USEDEFAULT, 0, MainWindowWidth, MainWindowHeight);
    createControls();
    faultBrush = CreateSolidBrush(FaultColour);
    link = std::move(converterLink);
    linearization = std::make_unique<LinearizationTable>();
    rtdCatalog = std::make_unique<RtdCatalog>();
    thermocoupleCatalog = std::make_unique<ThermocoupleCatalog>();
    SetFlag(DialogKeys);
}

MainWindow::~MainWindow()
{
    // The window and its controls are gone by now (DestroyHandle).
    if (faultBrush != nullptr)
        DeleteObject(faultBrush);
    link.reset();
    linearization.reset();
    rtdCatalog.reset();
    thermocoupleCatalog.reset();
}

void MainWindow::DestroyHandle()
{
    if (pollTimer != 0 && handle != nullptr) {
        KillTimer(handle, PollTimerId);
        pollTimer = 0;
    }
    Window::DestroyHandle();
}

void MainWindow::FillWindowClass(WNDCLASSW& windowClass)
{
    Window::FillWindowClass(windowClass);
    windowClass.hIcon = LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(1));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
}

void MainWindow::SetUp()
{
    Window::SetUp();
    for (std::string_view kind : parameter_texts::InputKindTexts)
        measurementList->AddString(kind);
    for (int value = 0; value <= MaxFilter; ++value)
        filterList->AddString(std::to_string(value));
}

void MainWindow::Dispatch(WindowMessage& msg)
{
    switch (msg.message) {
    case WM_TIMER:
        poll();
        msg.result = 0;
        break;
    case WM_CTLCOLORSTATIC:
        OnCtlColorStatic(msg);
        break;
    default:
        Window::Dispatch(msg);
        break;
    }
}

void MainWindow::OnCtlColorStatic(WindowMessage& msg)
{
    HDC dc = reinterpret_cast<HDC>(msg.wParam);
    HWND control = reinterpret_cast<HWND>(msg.lParam);
    std::uint32_t bit = 0;
    if (control == liveInputText->Handle())
        bit = InputFault;
    else if (control == liveProcessText->Handle())
        bit = ProcessFault;
    else if (control == liveValueText->Handle())
        bit = ValueInvalid;

    if (bit != 0 && (faultMask & bit) != 0) {
        SetBkColor(dc, FaultColour);
        SetTextColor(dc, FaultTextColour);
        msg.result = reinterpret_cast<LRESULT>(faultBrush);
    } else {
        SetBkColor(dc, BackgroundColour);
        msg.result = reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH));
    }
}

void MainWindow::OnChildNotification(WindowMessage& msg, int id)
{
    const bool selectionChanged = msg.WParamHigh() == CBN_SELCHANGE;
    switch (id) {
    case PortListId:
        if (selectionChanged)
            connect();
        break;
    case LinearizationImportId:
        importLinearization(*this, *linearization, *linearizationFileText);
        break;
    case MeasurementListId:
        // A new kind is configured through its dialog; until then the old
        // description would be misleading.
        if (selectionChanged)
            inputDescriptionText->ClearText();
        break;
    case InputDialogId:
        openInputDialog();
        break;
    case FilterListId:
        if (selectionChanged)
            writeFilter();
        break;
    case ScaleMinWriteId:
        writeScale(scaleMinEdit, &ConverterLink::writeScaleMin);
        break;
    case ScaleMaxWriteId:
        writeScale(scaleMaxEdit, &ConverterLink::writeScaleMax);
        break;
    case FirstErrorSignallingId:
    case FirstErrorSignallingId + 1:
    case FirstErrorSignallingId + 2:
    case FirstErrorSignallingId + 3:
        writeErrorSignalling(static_cast<std::uint8_t>(id - FirstErrorSignallingId));
        break;
    case PollCheckId:
        toggleReading();
        break;
    case Relay1HysteresisId:
        relay1Mode = RelaySettings::Hysteresis;
        break;
    case Relay1WindowId:
        relay1Mode = RelaySettings::Window;
        break;
    case Relay1WriteId:
        writeRelay(1);
        break;
    case Relay2HysteresisId:
        relay2Mode = RelaySettings::Hysteresis;
        break;
    case Relay2WindowId:
        relay2Mode = RelaySettings::Window;
        break;
    case Relay2WriteId:
        writeRelay(2);
        break;
    default:
        Window::OnChildNotification(msg, id);
        break;
    }
}

void MainWindow::openInputDialog()
{
    using parameter_texts::InputKind;
    const int kind = measurementList->GetCurSel();
    std::unique_ptr<DialogObject> dialog;
    if (kind == static_cast<int>(InputKind::Thermometer))
        dialog =
            std::make_unique<RtdDialog>(this, *link, *inputDescriptionText, *rtdCatalog, currentRtdCurve);
    else if (kind == static_cast<int>(InputKind::Thermocouple))
        dialog = std::make_unique<ThermocoupleDialog>(this, *link, *inputDescriptionText,
                                                      *thermocoupleCatalog, currentThermocoupleCurve);
    else
        dialog = MakeInputDialog(kind, this, *link, *inputDescriptionText, *linearization, currentRtdCurve);
    // The dialog writes to the converter and the description itself.
    if (dialog)
        Application::Instance()->RunModal(std::move(dialog));
}

void MainWindow::writeFilter()
{
    int value = filterList->GetCurSel();
    if (value >= 0)
        link->writeFilter(static_cast<std::uint8_t>(value));
}

void MainWindow::writeScale(ValueEdit* edit, bool (ConverterLink::*write)(float&))
{
    // A text that is no number writes 0; the echo then shows what the
    // converter holds.
    float value = edit->GetReal();
    if ((link.get()->*write)(value))
        edit->SetReal(value, 2);
}

void MainWindow::writeErrorSignalling(std::uint8_t code)
{
    std::uint8_t answer = code;
    if (link->writeErrorSignalling(answer) && answer != code)
        checkErrorSignalling(answer);
}

void MainWindow::writeRelay(int relay)
{
    const RelayControls& controls = relays[relay - 1];
    RelaySettings settings;
    settings.onValue = controls.onValueEdit->GetReal();
    settings.onDelay = static_cast<std::uint16_t>(controls.onDelayEdit->GetInteger()); // 16 bits travel
    settings.offValue = controls.offValueEdit->GetReal();
    settings.offDelay = static_cast<std::uint16_t>(controls.offDelayEdit->GetInteger());
    settings.mode = relay == 1 ? relay1Mode : relay2Mode;
    bool written = relay == 1 ? link->writeRelay1(settings) : link->writeRelay2(settings);
    if (written)
        showRelay(relay, settings);
}
