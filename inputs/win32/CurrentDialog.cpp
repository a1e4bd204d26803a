#include "inputs/win32/CurrentDialog.h"

#include "device/ConverterLink.h"
#include "device/ParameterTexts.h"
#include "framework/ComboBox.h"
#include "framework/ValueEdit.h"

namespace {

using parameter_texts::FirstCurrentCode;

constexpr int VariantCount = 2;
constexpr int ShuntDecimals = 3;

std::string_view VariantText(int index)
{
    return parameter_texts::DescribeInputType(static_cast<std::uint8_t>(FirstCurrentCode + index))
        ->measurement;
}

} // namespace

CurrentDialog::CurrentDialog(WindowObject* parent, ConverterLink& link, StaticText& description,
                             LinearizationTable& table)
    : InputDialog(parent, TemplateId, link, description, table),
      variantList(MakeChild<ComboBox>(VariantListId, 0)), shuntEdit(MakeChild<ValueEdit>(ShuntEditId))
{
    BindShared(variantList, MinEditId, MaxEditId, OffRadioId);
}

void CurrentDialog::LoadSettings(std::uint8_t code)
{
    for (int i = 0; i < VariantCount; ++i)
        variantList->AddString(VariantText(i));
    float shunt = 0;
    shuntRead = link.readShunt(shunt);
    if (shuntRead)
        shuntEdit->SetReal(shunt, ShuntDecimals);
    if (code >= FirstCurrentCode && code < FirstCurrentCode + VariantCount) {
        const int index = code - FirstCurrentCode;
        variantList->SetCurSel(index);
        if (index == ExternalShuntVariant)
            shuntEdit->EnableHandle();
        ReadLinearizationState();
    } else {
        variantList->SetCurSel(1);
        SetDefaultRange(0.0f, 20.0f);
    }
}

void CurrentDialog::OnChildNotification(WindowMessage& msg, int id)
{
    if (id == VariantListId) {
        if (msg.WParamHigh() == CBN_SELCHANGE && variantList->GetItemCount() > 1) {
            if (variantList->GetCurSel() == ExternalShuntVariant)
                shuntEdit->EnableHandle();
            else
                shuntEdit->DisableHandle();
        }
    } else if (!OnLinearizationRadio(id)) {
        InputDialog::OnChildNotification(msg, id);
    }
}

void CurrentDialog::Accept(WindowMessage& msg)
{
    const int index = variantList->GetCurSel();
    if (SettingsLoaded() && index >= 0 && index < VariantCount) {
        Describe(VariantText(index));
        PlainInput input;
        input.inputType = static_cast<std::uint8_t>(FirstCurrentCode + index);
        if (index == ExternalShuntVariant)
            input.shunt = CalibrationValue(*shuntEdit, shuntRead);
        WriteInput(input);
    }
    InputDialog::Accept(msg);
}
