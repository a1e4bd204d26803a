#include "inputs/win32/PotentiometerDialog.h"

#include "device/ConverterLink.h"
#include "device/ParameterTexts.h"
#include "framework/ComboBox.h"
#include "framework/StaticText.h"

namespace {

using parameter_texts::PotentiometerConnectionTexts;
using parameter_texts::PotentiometerTypeTexts;

constexpr int TypeCount = static_cast<int>(PotentiometerTypeTexts.size());
constexpr int WiringCount = static_cast<int>(PotentiometerConnectionTexts.size());
constexpr int Absolute = 0;
constexpr int FourWire = 1;

static_assert(PotentiometerDialog::CodeOf(0, 0) == parameter_texts::FirstPotentiometerCode);

} // namespace

PotentiometerDialog::PotentiometerDialog(WindowObject* parent, ConverterLink& link, StaticText& description,
                                         LinearizationTable& table)
    : InputDialog(parent, TemplateId, link, description, table),
      wiringList(MakeChild<ComboBox>(WiringListId, 0)), typeList(MakeChild<ComboBox>(TypeListId, 0)),
      minLabel(MakeChild<StaticText>(MinLabelId, 0)), maxLabel(MakeChild<StaticText>(MaxLabelId, 0))
{
    BindShared(typeList, MinEditId, MaxEditId, OffRadioId);
}

void PotentiometerDialog::ShowUnits(int type)
{
    minLabel->SetText(type == Absolute ? "Min [Ohm]:" : "Min [%]:");
    maxLabel->SetText(type == Absolute ? "Max [Ohm]:" : "Max [%]:");
}

void PotentiometerDialog::LoadSettings(std::uint8_t code)
{
    for (std::string_view text : PotentiometerTypeTexts)
        typeList->AddString(text);
    for (std::string_view text : PotentiometerConnectionTexts)
        wiringList->AddString(text);
    if (code >= CodeOf(0, 0) && code <= CodeOf(TypeCount - 1, WiringCount - 1)) {
        const int type = (code - CodeOf(0, 0)) / WiringCount;
        typeList->SetCurSel(type);
        wiringList->SetCurSel((code - CodeOf(0, 0)) % WiringCount);
        ShowUnits(type);
        ReadLinearizationState();
    } else {
        typeList->SetCurSel(Absolute);
        wiringList->SetCurSel(FourWire);
        ShowUnits(Absolute);
        SetDefaultRange(0.0f, 4000.0f);
    }
}

void PotentiometerDialog::OnChildNotification(WindowMessage& msg, int id)
{
    if (id == TypeListId) {
        if (msg.WParamHigh() == CBN_SELCHANGE && typeList->GetItemCount() > 1)
            ShowUnits(typeList->GetCurSel());
    } else if (!OnLinearizationRadio(id)) {
        InputDialog::OnChildNotification(msg, id);
    }
}

void PotentiometerDialog::Accept(WindowMessage& msg)
{
    const int type = typeList->GetCurSel();
    const int wiring = wiringList->GetCurSel();
    if (SettingsLoaded() && type >= 0 && type < TypeCount && wiring >= 0 && wiring < WiringCount) {
        Describe(PotentiometerTypeTexts[static_cast<std::size_t>(type)]);
        PlainInput input;
        input.inputType = CodeOf(type, wiring);
        WriteInput(input);
    }
    InputDialog::Accept(msg);
}
