#pragma once

#include "inputs/win32/InputDialog.h"

class ComboBox;
class RtdCurve;

// Plain resistance input: wiring "Dvoudrát" .. "Čtyřdrát" (input type codes
// 5 to 8, shared with the resistance thermometer) and a range in ohms. The
// main window's current RTD tells a thermometer from a plain resistance.
class ResistanceDialog : public InputDialog {
public:
    static constexpr int TemplateId = 8;
    static constexpr int WiringListId = 101;
    static constexpr int MinEditId = 102;
    static constexpr int MaxEditId = 103;
    static constexpr int OffRadioId = 104; // then "Zapnuta" 105, "Přepsat" 106

    // rtdSlot: the main window's current RTD, cleared on OK.
    ResistanceDialog(WindowObject* parent, ConverterLink& link, StaticText& description,
                     LinearizationTable& table, const RtdCurve*& rtdSlot);

    void LoadSettings(std::uint8_t code) override;
    void OnChildNotification(WindowMessage& msg, int id) override;
    void Accept(WindowMessage& msg) override;

private:
    ComboBox* wiringList;
    const RtdCurve*& rtdSlot;
};
