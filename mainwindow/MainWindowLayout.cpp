// The main window's controls: positions in client pixels (x, y, width,
// height; a drop-down list's height includes its open list). Creation order
// is the tab order.
#include "mainwindow/MainWindow.h"

#include "device/ParameterTexts.h"
#include "framework/CheckBox.h"
#include "framework/ComboBox.h"
#include "framework/GroupBox.h"
#include "framework/PortSelectBox.h"
#include "framework/PushButton.h"
#include "framework/RadioButton.h"
#include "framework/StaticText.h"
#include "framework/ValueDisplay.h"
#include "framework/ValueEdit.h"

void MainWindow::createControls()
{
    createConverterArea();
    createLinearizationArea();
    createInputGroup();
    createErrorStateGroup();
    createInternalValuesGroup();
    createRelayGroup(1);
    createRelayGroup(2);
}

StaticText* MainWindow::label(std::string_view text, int x, int y, int width, int height, DWORD extraStyle)
{
    auto* control = MakeChild<StaticText>(text, x, y, width, height, 0, 0);
    control->SetStyle(control->Style() | extraStyle);
    return control;
}

StaticText* MainWindow::framedText(int x, int y, int width, int height)
{
    auto* control = MakeChild<StaticText>("", x, y, width, height, 0, 0);
    control->SetExStyle(control->ExStyle() | WS_EX_CLIENTEDGE);
    return control;
}

ValueDisplay* MainWindow::valueDisplay(int x, int y, int width, int height)
{
    return MakeChild<ValueDisplay>("", x, y, width, height);
}

ComboBox* MainWindow::dropDownList(int x, int y, int width, int height, int id)
{
    auto* list = MakeChild<ComboBox>(x, y, width, height, id, 0, false);
    // Entries stay in the order they are added: positions carry meaning.
    list->SetStyle(list->Style() & ~static_cast<DWORD>(CBS_SORT));
    return list;
}

ValueEdit* MainWindow::valueEdit(int x, int y, int width, int height, DWORD extraStyle)
{
    auto* edit = MakeChild<ValueEdit>("", x, y, width, height, 0);
    edit->SetStyle(edit->Style() | extraStyle);
    return edit;
}

void MainWindow::createConverterArea()
{
    label("Port:", 480, 14, 50, 20);
    portList = MakeChild<PortSelectBox>(540, 10, 120, 160, PortListId);
    label("Převodník:", 10, 10, 100, 20);
    identityText = valueDisplay(120, 10, 140, 20);
    label("Firmware", 10, 35, 100, 20);
    firmwareText = valueDisplay(120, 35, 140, 20);
    label("Výrobní číslo:", 10, 60, 100, 20);
    serialNumberText = valueDisplay(120, 60, 140, 20);
    label("Výstup:", 10, 85, 100, 20);
    outputText = valueDisplay(120, 85, 140, 20);
    label("Relé:", 10, 110, 100, 20);
    relaysText = valueDisplay(120, 110, 140, 20);
}

void MainWindow::createLinearizationArea()
{
    MakeChild<GroupBox>("Linearizační data:", 370, 70, 290, 60, 0);
    linearizationFileText = framedText(380, 98, 228, 22);
    MakeChild<PushButton>("...", 618, 98, 32, 22, LinearizationImportId);
}

void MainWindow::createInputGroup()
{
    MakeChild<GroupBox>("Vstup:", 10, 140, 275, 180, 0);
    label("Měření:", 20, 167, 60, 20);
    measurementList = dropDownList(90, 165, 143, 200, MeasurementListId);
    MakeChild<PushButton>("...", 243, 165, 32, 24, InputDialogId);
    inputDescriptionText = framedText(90, 195, 185, 24);
    label("Filtr:", 20, 227, 60, 20);
    filterList = dropDownList(90, 225, 90, 200, FilterListId);
    label("Min:", 20, 257, 60, 20);
    scaleMinEdit = valueEdit(90, 255, 90, 24);
    MakeChild<PushButton>("Zápis", 190, 255, 85, 24, ScaleMinWriteId);
    label("Max:", 20, 287, 60, 20);
    scaleMaxEdit = valueEdit(90, 285, 90, 24);
    MakeChild<PushButton>("Zápis", 190, 285, 85, 24, ScaleMaxWriteId);
}

void MainWindow::createErrorStateGroup()
{
    using parameter_texts::ErrorSignallingTexts;
    MakeChild<GroupBox>("Chybový stav:", 295, 140, 150, 180, 0);
    for (int code = 0; code < 4; ++code)
        errorSignallingButtons[code] = MakeChild<RadioButton>(
            ErrorSignallingTexts[code], 305, 165 + 25 * code, 130, 20, FirstErrorSignallingId + code);
}

void MainWindow::createInternalValuesGroup()
{
    MakeChild<GroupBox>("Interní hodnoty:", 455, 140, 205, 180, 0);
    label("Vstup:", 465, 165, 80, 20);
    liveInputText = valueDisplay(555, 165, 95, 20);
    label("Proces:", 465, 190, 80, 20);
    liveProcessText = valueDisplay(555, 190, 95, 20);
    label("Hodnota:", 465, 215, 80, 20);
    liveValueText = valueDisplay(555, 215, 95, 20);
    label("Ratio [%]:", 465, 240, 80, 20);
    liveRatioText = valueDisplay(555, 240, 95, 20);
    pollCheck = MakeChild<CheckBox>("Číst", 465, 290, 80, 18, PollCheckId);
}

void MainWindow::createRelayGroup(int relay)
{
    // Relay 2 is relay 1 moved 330 pixels to the right, with ids 3 higher.
    const int dx = relay == 1 ? 0 : 330;
    const int firstId = relay == 1 ? Relay1HysteresisId : Relay2HysteresisId;
    RelayControls& controls = relays[relay - 1];

    MakeChild<GroupBox>(relay == 1 ? "Relé 1:" : "Relé 2:", 10 + dx, 330, 320, 140, 0);
    using parameter_texts::RelayModeTexts;
    controls.modeButtons[0] = MakeChild<RadioButton>(RelayModeTexts[0], 20 + dx, 355, 90, 20, firstId);
    controls.modeButtons[1] = MakeChild<RadioButton>(RelayModeTexts[1], 20 + dx, 380, 90, 20, firstId + 1);
    label("Hodnota", 120 + dx, 395, 95, 16, SS_CENTER);
    label("Zpoždění", 225 + dx, 395, 95, 16, SS_CENTER);
    label("Sepnutí", 20 + dx, 415, 90, 20);
    controls.onValueEdit = valueEdit(120 + dx, 415, 95, 20);
    controls.onDelayEdit = valueEdit(225 + dx, 415, 95, 20, ES_NUMBER);
    label("Rozepnutí", 20 + dx, 440, 90, 20);
    controls.offValueEdit = valueEdit(120 + dx, 440, 95, 20);
    controls.offDelayEdit = valueEdit(225 + dx, 440, 95, 20, ES_NUMBER);
    MakeChild<PushButton>("Zápis", 225 + dx, 355, 95, 24, firstId + 2);
}
