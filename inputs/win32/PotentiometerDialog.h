#pragma once

#include "inputs/win32/InputDialog.h"

#include <cstdint>

class ComboBox;
class StaticText;

// Potentiometer input: absolute (range in ohms) or relative (range in
// percent), wired "Třídrát+KS" or "Čtyřdrát"; input type codes 9 to 12.
class PotentiometerDialog : public InputDialog {
public:
    static constexpr int TemplateId = 9;
    static constexpr int TypeListId = 101;
    static constexpr int WiringListId = 102;
    static constexpr int MinLabelId = 103;
    static constexpr int MinEditId = 104;
    static constexpr int MaxLabelId = 105;
    static constexpr int MaxEditId = 106;
    static constexpr int OffRadioId = 107; // then "Zapnuta" 108, "Přepsat" 109

    // Input type of a type index (0 absolute, 1 relative) and wiring index.
    static constexpr std::uint8_t CodeOf(int type, int wiring)
    {
        return static_cast<std::uint8_t>(9 + 2 * type + wiring);
    }

    PotentiometerDialog(WindowObject* parent, ConverterLink& link, StaticText& description,
                        LinearizationTable& table);

    void LoadSettings(std::uint8_t code) override;
    void OnChildNotification(WindowMessage& msg, int id) override;
    void Accept(WindowMessage& msg) override;

private:
    void ShowUnits(int type);

    ComboBox* wiringList;
    ComboBox* typeList;
    StaticText* minLabel;
    StaticText* maxLabel;
};
