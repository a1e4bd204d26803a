#include "inputs/win32/VoltageDialog.h"

#include "device/ConverterLink.h"
#include "device/ParameterTexts.h"
#include "framework/ComboBox.h"
#include "framework/StaticText.h"
#include "framework/ValueEdit.h"

namespace {

constexpr int VariantCount = 3;
constexpr int DividerDecimals = 2;

std::string_view VariantText(int index)
{
    return parameter_texts::DescribeInputType(static_cast<std::uint8_t>(index))->measurement;
}

} // namespace

VoltageDialog::VoltageDialog(WindowObject* parent, ConverterLink& link, StaticText& description,
                             LinearizationTable& table)
    : InputDialog(parent, TemplateId, link, description, table),
      variantList(MakeChild<ComboBox>(VariantListId, 0)), dividerEdit(MakeChild<ValueEdit>(DividerEditId)),
      minLabel(MakeChild<StaticText>(MinLabelId, 0)), maxLabel(MakeChild<StaticText>(MaxLabelId, 0))
{
    BindShared(variantList, MinEditId, MaxEditId, OffRadioId);
}

void VoltageDialog::ShowVariant(int index)
{
    if (index == TenVoltVariant)
        dividerEdit->DisableHandle();
    else
        dividerEdit->EnableHandle();
    // The 100 mV variant is ranged in millivolts, the others in volts.
    minLabel->SetText(index == 0 ? "Min [mV]" : "Min [V]");
    maxLabel->SetText(index == 0 ? "Max [mV]" : "Max [V]");
}

void VoltageDialog::LoadSettings(std::uint8_t code)
{
    for (int i = 0; i < VariantCount; ++i)
        variantList->AddString(VariantText(i));
    float divider = 0;
    dividerRead = link.readDivider(divider);
    if (dividerRead)
        dividerEdit->SetReal(divider, DividerDecimals);
    if (code < VariantCount) {
        variantList->SetCurSel(code);
        ShowVariant(code);
        ReadLinearizationState();
    } else {
        variantList->SetCurSel(TenVoltVariant);
        ShowVariant(TenVoltVariant);
        SetDefaultRange(0.0f, 10.0f);
    }
}

void VoltageDialog::OnChildNotification(WindowMessage& msg, int id)
{
    if (id == VariantListId) {
        if (msg.WParamHigh() == CBN_SELCHANGE && variantList->GetItemCount() > 1)
            ShowVariant(variantList->GetCurSel());
    } else if (!OnLinearizationRadio(id)) {
        InputDialog::OnChildNotification(msg, id);
    }
}

void VoltageDialog::Accept(WindowMessage& msg)
{
    const int index = variantList->GetCurSel();
    if (SettingsLoaded() && index >= 0 && index < VariantCount) {
        Describe(VariantText(index));
        PlainInput input;
        input.inputType = static_cast<std::uint8_t>(index);
        if (index != TenVoltVariant)
            input.divider = CalibrationValue(*dividerEdit, dividerRead);
        WriteInput(input);
    }
    InputDialog::Accept(msg);
}
