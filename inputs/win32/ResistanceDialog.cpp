#include "inputs/win32/ResistanceDialog.h"

#include "device/ConverterLink.h"
#include "device/ParameterTexts.h"
#include "framework/ComboBox.h"

namespace {

using parameter_texts::FirstResistanceCode;
using parameter_texts::ResistanceConnectionTexts;

constexpr int WiringCount = static_cast<int>(ResistanceConnectionTexts.size());
constexpr int FourWire = 3;

} // namespace

ResistanceDialog::ResistanceDialog(WindowObject* parent, ConverterLink& link, StaticText& description,
                                   LinearizationTable& table, const RtdCurve*& currentRtd)
    : InputDialog(parent, TemplateId, link, description, table),
      wiringList(MakeChild<ComboBox>(WiringListId, 0)), rtdSlot(currentRtd)
{
    BindShared(wiringList, MinEditId, MaxEditId, OffRadioId);
}

void ResistanceDialog::LoadSettings(std::uint8_t code)
{
    for (std::string_view text : ResistanceConnectionTexts)
        wiringList->AddString(text);
    // A recognised RTD uses the same codes; its range and polynomial are
    // not a plain resistance's.
    if (rtdSlot != nullptr)
        code = 0;
    if (code >= FirstResistanceCode && code < FirstResistanceCode + WiringCount) {
        wiringList->SetCurSel(code - FirstResistanceCode);
        ReadLinearizationState();
    } else {
        wiringList->SetCurSel(FourWire);
        SetDefaultRange(0.0f, 4000.0f);
    }
}

void ResistanceDialog::OnChildNotification(WindowMessage& msg, int id)
{
    if (!OnLinearizationRadio(id))
        InputDialog::OnChildNotification(msg, id);
}

void ResistanceDialog::Accept(WindowMessage& msg)
{
    const int index = wiringList->GetCurSel();
    if (SettingsLoaded() && index >= 0 && index < WiringCount) {
        rtdSlot = nullptr;
        Describe(ResistanceConnectionTexts[static_cast<std::size_t>(index)]);
        PlainInput input;
        input.inputType = static_cast<std::uint8_t>(FirstResistanceCode + index);
        WriteInput(input);
    }
    InputDialog::Accept(msg);
}
