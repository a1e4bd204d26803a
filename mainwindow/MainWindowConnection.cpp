// The main window's side of the converter link: connecting, reading the
// whole configuration, polling live values, showing relay settings.
#include "mainwindow/MainWindow.h"

#include "framework/CheckBox.h"
#include "framework/ComboBox.h"
#include "framework/PortSelectBox.h"
#include "framework/RadioButton.h"
#include "framework/ValueDisplay.h"
#include "framework/ValueEdit.h"
#include "framework/WideText.h"
#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"
#include "mainwindow/InputPresentation.h"

#include <bit>
#include <string>

namespace {

constexpr std::string_view AcceptedIdentity = "DNX8";
constexpr std::uint32_t FaultPattern = 0xFFFFFFFF;

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
    std::uint16_t firmware = 0;
    if (link->readFirmwareVersion(firmware))
        firmwareText->SetVersion(firmware);
    std::int32_t serialNumber = 0;
    if (link->readSerialNumber(serialNumber))
        serialNumberText->SetInteger(serialNumber);
    std::uint8_t output = 0;
    if (link->readOutputType(output))
        outputText->SetOutputKind(output);
    std::uint8_t relayOptions = 0;
    if (link->readRelayOptions(relayOptions))
        relaysText->SetRelayKind(relayOptions);
    readInput();
    std::uint8_t filter = 0;
    if (link->readFilter(filter))
        filterList->SetCurSel(filter);
    float scale = 0;
    if (link->readScaleMin(scale))
        scaleMinEdit->SetReal(scale, 2);
    if (link->readScaleMax(scale))
        scaleMaxEdit->SetReal(scale, 2);
    std::uint8_t errorSignalling = 0;
    if (link->readErrorSignalling(errorSignalling))
        checkErrorSignalling(errorSignalling);
    poll();
    showRelays();
}

void MainWindow::readInput()
{
    // The polynomial comes first: it tells which sensor the input type means.
    CurveReading curve;
    bool degreeRead = link->readCurveDegree(curve.degree);
    bool coefficientsRead = link->readCurveCoefficients(curve.coefficients);
    std::uint8_t inputType = 0;
    if (!link->readInputType(inputType))
        return;

    std::optional<CurveReading> known;
    if (degreeRead && coefficientsRead)
        known = curve;
    InputPresentation shown = PresentInput(inputType, known, *rtdCatalog, *thermocoupleCatalog);
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
    pollValue(&ConverterLink::readLiveInput, liveInputText, 3, InputFault, "Porucha");
    pollValue(&ConverterLink::readLiveProcess, liveProcessText, 3, ProcessFault, "Porucha");
    pollValue(&ConverterLink::readLiveValue, liveValueText, 2, ValueInvalid, "Neplatná");
    float ratio = 0;
    if (link->readLiveRatio(ratio))
        liveRatioText->SetReal(ratio * 100.0f, 2);
}

void MainWindow::pollValue(bool (ConverterLink::*read)(float&), ValueDisplay* display, int decimals,
                           std::uint32_t faultBit, std::string_view faultText)
{
    float value = 0;
    if (!(link.get()->*read)(value))
        return;
    // The bit changes before the text, so the repaint the text causes
    // already has the right colour.
    if (std::bit_cast<std::uint32_t>(value) == FaultPattern) {
        faultMask |= faultBit;
        display->SetText(faultText);
    } else {
        faultMask &= ~faultBit;
        display->SetReal(value, decimals);
    }
}

void MainWindow::showRelays()
{
    RelaySettings settings;
    if (link->readRelay1(settings))
        showRelay(1, settings);
    if (link->readRelay2(settings))
        showRelay(2, settings);
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
