// The main window's side of the converter link: connecting, reading the
// whole configuration, polling live values, showing relay settings.
#include "mainwindow/MainWindow.h"

#include "config/ConverterReading.h"
#include "device/ParameterTexts.h"
#include "framework/CheckBox.h"
#include "framework/ComboBox.h"
#include "framework/PortSelectBox.h"
#include "framework/RadioButton.h"
#include "framework/ValueDisplay.h"
#include "framework/ValueEdit.h"
#include "framework/WideText.h"
#include "inputs/InputPresentation.h"
#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"

#include <string>

namespace {

constexpr std::string_view AcceptedIdentity = "DNX8";

// The converter speaks the single-byte code page of its own texts.
std::wstring DeviceText(const std::string& bytes)
{
    if (bytes.empty())
        return {};
    int n = MultiByteToWideChar(1250, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(1250, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

} // namespace

void MainWindow::connect()
{
    // The whole name: a cut one could open another port.
    std::string port;
    int selected = portList->GetCurSel();
    if (selected >= 0)
        port = portList->GetItemText(selected);

    if (!link->open(port)) {
        emptyIdentity();
        return;
    }
    std::optional<std::string> identity = link->identify();
    if (!identity) {
        link->close();
        emptyIdentity();
        return;
    }
    if (*identity == AcceptedIdentity) {
        identityText->SetText(*identity);
        readAll();
        return;
    }
    // Closed before the message: the poll timer still ticks inside the
    // message box's loop and must not read from a foreign device.
    link->close();
    MessageBoxW(handle, Widen("Převodník není kompatibilní s tímto nástrojem.").c_str(),
                DeviceText(*identity).c_str(), MB_OK | MB_ICONERROR);
    emptyIdentity();
}

void MainWindow::emptyIdentity()
{
    identityText->ClearText();
    firmwareText->ClearText();
    serialNumberText->ClearText();
}

void MainWindow::readAll()
{
    const ConverterReading reading = readConverter(*link, ReadScope::Window);
    const Configuration& settings = reading.settings;
    if (reading.firmwareVersion)
        firmwareText->SetVersion(*reading.firmwareVersion);
    if (reading.serialNumber)
        serialNumberText->SetInteger(*reading.serialNumber);
    if (reading.outputType)
        outputText->SetOutputKind(*reading.outputType);
    if (reading.relayOptions)
        relaysText->SetRelayKind(*reading.relayOptions);
    if (settings.inputType)
        showInput(settings);
    if (settings.filter)
        filterList->SetCurSel(*settings.filter);
    if (settings.scaleMin)
        scaleMinEdit->SetReal(*settings.scaleMin, 2);
    if (settings.scaleMax)
        scaleMaxEdit->SetReal(*settings.scaleMax, 2);
    if (settings.errorSignalling)
        checkErrorSignalling(*settings.errorSignalling);
    showLiveValues(reading.live);
    if (settings.relay1)
        showRelay(1, *settings.relay1);
    if (settings.relay2)
        showRelay(2, *settings.relay2);
}

void MainWindow::showInput(const Configuration& settings)
{
    // Without the whole polynomial no sensor is recognised.
    std::optional<CurveReading> curve;
    if (settings.curveDegree && settings.curveCoefficients)
        curve = CurveReading{*settings.curveDegree, *settings.curveCoefficients};
    InputPresentation shown = PresentInput(*settings.inputType, curve, *rtdCatalog, *thermocoupleCatalog);
    if (shown.listPosition)
        measurementList->SetCurSel(*shown.listPosition);
    if (shown.measurement)
        inputDescriptionText->SetText(*shown.measurement);
    if (shown.rtdCurve)
        currentRtdCurve = *shown.rtdCurve;
    if (shown.thermocoupleCurve)
        currentThermocoupleCurve = *shown.thermocoupleCurve;
}

void MainWindow::checkErrorSignalling(std::uint8_t code)
{
    // A code without a button (above 3) leaves all four unchecked.
    for (std::size_t i = 0; i < errorSignallingButtons.size(); ++i)
        errorSignallingButtons[i]->SetCheck(i == code ? BST_CHECKED : BST_UNCHECKED);
}

void MainWindow::poll()
{
    showLiveValues(readLiveValues(*link));
}

void MainWindow::showLiveValues(const LiveReading& live)
{
    showLiveValue(live.input, liveInputText, 3, InputFault, parameter_texts::LiveFaultText);
    showLiveValue(live.process, liveProcessText, 3, ProcessFault, parameter_texts::LiveFaultText);
    showLiveValue(live.value, liveValueText, 2, ValueInvalid, parameter_texts::LiveInvalidText);
    if (live.ratio)
        liveRatioText->SetReal(*live.ratio * 100.0f, 2);
}

void MainWindow::showLiveValue(std::optional<float> value, ValueDisplay* display, int decimals,
                               std::uint32_t faultBit, std::string_view faultText)
{
    if (!value)
        return;
    // The bit changes before the text, so the repaint the text causes
    // already has the right colour.
    if (isFaultPattern(*value)) {
        faultMask |= faultBit;
        display->SetText(faultText);
    } else {
        faultMask &= ~faultBit;
        display->SetReal(*value, decimals);
    }
}

void MainWindow::showRelay(int relay, const RelaySettings& settings)
{
    (relay == 1 ? relay1Mode : relay2Mode) = settings.mode;
    RelayControls& controls = relays[relay - 1];
    for (std::size_t mode = 0; mode < controls.modeButtons.size(); ++mode)
        controls.modeButtons[mode]->SetCheck(mode == settings.mode ? BST_CHECKED : BST_UNCHECKED);
    controls.onValueEdit->SetReal(settings.onValue, 2);
    controls.onDelayEdit->SetInteger(settings.onDelay);
    controls.offValueEdit->SetReal(settings.offValue, 2);
    controls.offDelayEdit->SetInteger(settings.offDelay);
}

void MainWindow::toggleReading()
{
    bool ticked = pollCheck->GetCheck() == BST_CHECKED;
    if (ticked && pollTimer == 0) {
        pollTimer = SetTimer(handle, PollTimerId, PollPeriodMs, nullptr);
    } else if (!ticked && pollTimer != 0) {
        KillTimer(handle, PollTimerId);
        pollTimer = 0;
    }
}
