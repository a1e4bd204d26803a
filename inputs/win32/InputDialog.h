#pragma once

#include "framework/DialogObject.h"
#include "inputs/InputWrites.h"

#include <cstdint>
#include <optional>
#include <string_view>

class ComboBox;
class ConverterLink;
class LinearizationTable;
class RadioButton;
class StaticText;
class ValueEdit;

// What the voltage, current, resistance and potentiometer dialogs share:
// the range edits, the linearization group "Vypnuta"/"Zapnuta"/"Přepsat",
// reading the converter's input type and linearization state when the
// dialog opens, and the range/linearization writes and Commit on OK.
// The link, description and table belong to the main window.
class InputDialog : public DialogObject {
public:
    InputDialog(WindowObject* parent, int templateId, ConverterLink& link, StaticText& description,
                LinearizationTable& table);

    void SetUp() override;
    // Fills the lists and selects what corresponds to the converter's code.
    virtual void LoadSettings(std::uint8_t code) = 0;

protected:
    // Binds the shared controls: the range edits and the three radios
    // (off, on, overwrite on consecutive ids). first shows a read failure.
    void BindShared(ComboBox* first, int minId, int maxId, int offRadioId);

    void DisableRange();
    void ShowStoredRange();
    void EnableStoredRange();
    void DisableStoredRange();
    void ShowTableRange();
    void GuardOverwrite();
    void SelectOff();
    void SelectOn();
    void ReadLinearizationState();
    void SetDefaultRange(float min, float max);
    // Writes the input and the choice of the linearization group, then Commit.
    void WriteInput(const PlainInput& input);

    // A click on one of the three radios; false for any other id.
    bool OnLinearizationRadio(int id);
    // False after the input type could not be read: the controls then hold
    // nothing worth writing.
    bool SettingsLoaded() const { return settingsLoaded; }
    // Sets the main window's input description.
    void Describe(std::string_view text);
    // The divider or shunt to write from edit: its number, 0 for a text that
    // is none. Nothing when the edit is empty because the value could not be
    // read when the dialog opened: that would erase the calibration.
    static std::optional<float> CalibrationValue(const ValueEdit& edit, bool readAtOpening);

    ComboBox* firstControl = nullptr;
    ValueEdit* minEdit = nullptr;
    ValueEdit* maxEdit = nullptr;
    RadioButton* offRadio = nullptr;
    RadioButton* onRadio = nullptr;
    RadioButton* overwriteRadio = nullptr;
    ConverterLink& link;
    StaticText& description;
    LinearizationTable& table;
    float storedMin = 0;
    float storedMax = 0;

private:
    bool settingsLoaded = false;
};
