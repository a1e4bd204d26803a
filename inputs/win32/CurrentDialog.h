#pragma once

#include "inputs/win32/InputDialog.h"

class ComboBox;
class ValueEdit;

// Current input: "InA (externí bočník)" with its shunt resistance, or the
// internal "20 mA" input (input type codes 3 and 4); range in mA.
class CurrentDialog : public InputDialog {
public:
    static constexpr int TemplateId = 7;
    static constexpr int VariantListId = 101;
    static constexpr int ShuntEditId = 102;
    static constexpr int MinEditId = 103;
    static constexpr int MaxEditId = 104;
    static constexpr int OffRadioId = 105; // then "Zapnuta" 106, "Přepsat" 107

    static constexpr int ExternalShuntVariant = 0;

    CurrentDialog(WindowObject* parent, ConverterLink& link, StaticText& description,
                  LinearizationTable& table);

    void LoadSettings(std::uint8_t code) override;
    void OnChildNotification(WindowMessage& msg, int id) override;
    void Accept(WindowMessage& msg) override;

private:
    ComboBox* variantList;
    ValueEdit* shuntEdit;
    bool shuntRead = false; // the shunt was read when the dialog opened
};
