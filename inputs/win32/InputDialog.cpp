#include "inputs/win32/InputDialog.h"

#include "device/ConverterLink.h"
#include "device/ParameterTexts.h"
#include "framework/ComboBox.h"
#include "framework/RadioButton.h"
#include "framework/StaticText.h"
#include "framework/SystemWaitCursor.h"
#include "framework/ValueEdit.h"
#include "linearization/LinearizationTable.h"
#include "framework/SystemWaitCursor.h"

namespace {

constexpr int RangeDecimals = 2;

} // namespace

InputDialog::InputDialog(WindowObject* parent, int templateId, ConverterLink& converterLink,
                         StaticText& inputDescription, LinearizationTable& linearization)
    : DialogObject(parent, templateId), link(converterLink), description(inputDescription),
      table(linearization)
{
}

void InputDialog::BindShared(ComboBox* first, int minId, int maxId, int offRadioId)
{
    firstControl = first;
    minEdit = MakeChild<ValueEdit>(minId);
    maxEdit = MakeChild<ValueEdit>(maxId);
    offRadio = MakeChild<RadioButton>(offRadioId);
    onRadio = MakeChild<RadioButton>(offRadioId + 1);
    overwriteRadio = MakeChild<RadioButton>(offRadioId + 2);
}

void InputDialog::SetUp()
{
    DialogObject::SetUp();
    std::uint8_t code = 0;
    if (link.readInputType(code)) {
        settingsLoaded = true;
        LoadSettings(code);
    } else {
        firstControl->SetCurSel(firstControl->AddString(parameter_texts::CommunicationErrorText));
    }
}

void InputDialog::DisableRange()
{
    minEdit->DisableHandle();
    maxEdit->DisableHandle();
}

void InputDialog::ShowStoredRange()
{
    minEdit->SetReal(storedMin, RangeDecimals);
    maxEdit->SetReal(storedMax, RangeDecimals);
}

void InputDialog::EnableStoredRange()
{
    minEdit->EnableHandle();
    maxEdit->EnableHandle();
    ShowStoredRange();
}

void InputDialog::DisableStoredRange()
{
    DisableRange();
    ShowStoredRange();
}

void InputDialog::ShowTableRange()
{
    DisableRange();
    minEdit->SetReal(table.min, RangeDecimals);
    maxEdit->SetReal(table.max, RangeDecimals);
}

void InputDialog::GuardOverwrite()
{
    if (!table.hasContent())
        overwriteRadio->DisableHandle();
}

void InputDialog::SelectOff()
{
    EnableStoredRange();
    offRadio->SetChecked();
    onRadio->DisableHandle();
    GuardOverwrite();
}

void InputDialog::SelectOn()
{
    DisableStoredRange();
    onRadio->SetChecked();
    GuardOverwrite();
}

void InputDialog::ReadLinearizationState()
{
    link.readRangeMin(storedMin);
    link.readRangeMax(storedMax);
    std::uint8_t degree = 0;
    std::uint8_t segments = 0;
    const bool degreeRead = link.readCurveDegree(degree);
    const bool segmentsRead = link.readSegmentCount(segments);
    const bool known = degreeRead && segmentsRead;
    // An unreadable count may hide a linearization: "Zapnuta" keeps it on
    // OK, where "Vypnuta" would erase it.
    if (!known || degree != 0 || segments != 0)
        SelectOn();
    else
        SelectOff();
}

void InputDialog::SetDefaultRange(float min, float max)
{
    storedMin = min;
    storedMax = max;
    SelectOff();
}

void InputDialog::WriteInput(const PlainInput& input)
{
    LinearizationChoice choice;
    if (overwriteRadio->GetCheck() == BST_CHECKED) {
        choice.mode = LinearizationChoice::Mode::Overwrite;
        choice.table = &table;
    } else if (offRadio->GetCheck() == BST_CHECKED) {
        choice.mode = LinearizationChoice::Mode::Off;
        choice.rangeMin = minEdit->GetReal();
        choice.rangeMax = maxEdit->GetReal();
    }
    SystemWaitCursor waitCursor;
    writePlainInput(link, input, choice, &waitCursor);
}

bool InputDialog::OnLinearizationRadio(int id)
{
    if (id == offRadio->ControlId())
        EnableStoredRange();
    else if (id == onRadio->ControlId())
        DisableStoredRange();
    else if (id == overwriteRadio->ControlId())
        ShowTableRange();
    else
        return false;
    return true;
}

void InputDialog::Describe(std::string_view text)
{
    description.SetText(text);
}

std::optional<float> InputDialog::CalibrationValue(const ValueEdit& edit, bool readAtOpening)
{
    if (!readAtOpening && edit.GetText().empty())
        return std::nullopt;
    return edit.GetReal();
}
