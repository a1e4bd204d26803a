#pragma once

#include "inputs/win32/InputDialog.h"

class ComboBox;
class StaticText;
class ValueEdit;

// Voltage input: range variant "InA (100 mV)", "InA (1 V)" or "10 V"
// (input type codes 0 to 2) and the divider ratio of the InA variants.
class VoltageDialog : public InputDialog {
public:
    static constexpr int TemplateId = 6;
    static constexpr int VariantListId = 101;
    static constexpr int DividerEditId = 102;
    static constexpr int MinLabelId = 103;
    static constexpr int MinEditId = 104;
    static constexpr int MaxLabelId = 105;
    static constexpr int MaxEditId = 106;
    static constexpr int OffRadioId = 107; // then "Zapnuta" 108, "Přepsat" 109

    static constexpr int TenVoltVariant = 2; // no divider in front of it

    VoltageDialog(WindowObject* parent, ConverterLink& link, StaticText& description,
                  LinearizationTable& table);

    void LoadSettings(std::uint8_t code) override;
    void OnChildNotification(WindowMessage& msg, int id) override;
    void Accept(WindowMessage& msg) override;

private:
    void ShowVariant(int index);

    ComboBox* variantList;
    ValueEdit* dividerEdit;
    bool dividerRead = false; // the divider was read when the dialog opened
    StaticText* minLabel;
    StaticText* maxLabel;
};
