#pragma once

#include "device/ConverterLink.h"
#include "device/RelaySettings.h"
#include "framework/Window.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

class CheckBox;
class ComboBox;
struct Configuration;
struct LiveReading;
class LinearizationTable;
class PortSelectBox;
class RadioButton;
class RtdCatalog;
class RtdCurve;
class StaticText;
class ThermocoupleCatalog;
class ThermocoupleCurve;
class ValueDisplay;
class ValueEdit;

// The program's one window: the connected converter's identity, its input
// configuration, error-state choice, live values and relays. It owns every
// long-lived object of the program.
class MainWindow : public Window {
public:
    // Control ids.
    static constexpr int PortListId = 101;
    static constexpr int LinearizationImportId = 106;
    static constexpr int MeasurementListId = 107;
    static constexpr int InputDialogId = 108;
    static constexpr int FilterListId = 109;
    static constexpr int ScaleMinWriteId = 110;
    static constexpr int ScaleMaxWriteId = 111;
    static constexpr int FirstErrorSignallingId = 112; // 112..115, one per code
    static constexpr int PollCheckId = 116;
    static constexpr int Relay1HysteresisId = 117;
    static constexpr int Relay1WindowId = 118;
    static constexpr int Relay1WriteId = 119;
    static constexpr int Relay2HysteresisId = 120;
    static constexpr int Relay2WindowId = 121;
    static constexpr int Relay2WriteId = 122;

    static constexpr UINT_PTR PollTimerId = 1;
    static constexpr UINT PollPeriodMs = 1000;

    // faultMask bits: which live value currently shows a fault.
    static constexpr std::uint32_t InputFault = 1;
    static constexpr std::uint32_t ProcessFault = 2;
    static constexpr std::uint32_t ValueInvalid = 4;

    static constexpr COLORREF FaultColour = RGB(255, 0, 0);
    static constexpr COLORREF FaultTextColour = RGB(255, 255, 255);
    static constexpr COLORREF BackgroundColour = RGB(192, 192, 192);

    MainWindow(WindowObject* parent, std::string_view title);
    // Talks to the converter through the given link (tests).
    MainWindow(WindowObject* parent, std::string_view title, std::unique_ptr<ConverterLink> link);
    ~MainWindow() override;

    void Dispatch(WindowMessage& msg) override;
    void OnChildNotification(WindowMessage& msg, int id) override;
    void FillWindowClass(WNDCLASSW& windowClass) override;
    void SetUp() override;
    // Stops polling before the window and its controls go.
    void DestroyHandle() override;
    // WM_CTLCOLORSTATIC: faulty live values in white on red.
    virtual void OnCtlColorStatic(WindowMessage& msg);

    std::uint32_t FaultMask() const { return faultMask; }
    bool Polling() const { return pollTimer != 0; }

private:
    struct RelayControls {
        std::array<RadioButton*, 2> modeButtons{};
        ValueEdit* onValueEdit = nullptr;
        ValueEdit* onDelayEdit = nullptr;
        ValueEdit* offValueEdit = nullptr;
        ValueEdit* offDelayEdit = nullptr;
    };

    // Layout.
    void createControls();
    void createConverterArea();
    void createLinearizationArea();
    void createInputGroup();
    void createErrorStateGroup();
    void createInternalValuesGroup();
    void createRelayGroup(int relay);
    StaticText* label(std::string_view text, int x, int y, int width, int height, DWORD extraStyle = 0);
    StaticText* framedText(int x, int y, int width, int height);
    ValueDisplay* valueDisplay(int x, int y, int width, int height);
    ComboBox* dropDownList(int x, int y, int width, int height, int id);
    ValueEdit* valueEdit(int x, int y, int width, int height, DWORD extraStyle = 0);

    // Connection and live values.
    void connect();
    void emptyIdentity();
    void readAll();
    void showInput(const Configuration& settings);
    void poll();
    void showLiveValues(const LiveReading& live);
    void showLiveValue(std::optional<float> value, ValueDisplay* display, int decimals,
                       std::uint32_t faultBit, std::string_view faultText);
    void showRelay(int relay, const RelaySettings& settings);
    void checkErrorSignalling(std::uint8_t code);
    void toggleReading();

    // Commands.
    void openInputDialog();
    void writeFilter();
    void writeScale(ValueEdit* edit, bool (ConverterLink::*write)(float&));
    void writeErrorSignalling(std::uint8_t code);
    void writeRelay(int relay);

    PortSelectBox* portList = nullptr;
    ValueDisplay* identityText = nullptr;
    ValueDisplay* firmwareText = nullptr;
    ValueDisplay* serialNumberText = nullptr;
    ValueDisplay* outputText = nullptr;
    ValueDisplay* relaysText = nullptr;
    StaticText* linearizationFileText = nullptr;
    ComboBox* measurementList = nullptr;
    StaticText* inputDescriptionText = nullptr;
    ComboBox* filterList = nullptr;
    ValueEdit* scaleMinEdit = nullptr;
    ValueEdit* scaleMaxEdit = nullptr;
    std::array<RadioButton*, 4> errorSignallingButtons{};
    ValueDisplay* liveInputText = nullptr;
    ValueDisplay* liveProcessText = nullptr;
    ValueDisplay* liveValueText = nullptr;
    ValueDisplay* liveRatioText = nullptr;
    CheckBox* pollCheck = nullptr;
    std::array<RelayControls, 2> relays{};
    HBRUSH faultBrush = nullptr;
    std::unique_ptr<ConverterLink> link;
    std::unique_ptr<LinearizationTable> linearization;
    std::unique_ptr<RtdCatalog> rtdCatalog;
    std::unique_ptr<ThermocoupleCatalog> thermocoupleCatalog;
    const RtdCurve* currentRtdCurve = nullptr;
    const ThermocoupleCurve* currentThermocoupleCurve = nullptr;
    std::uint8_t relay1Mode = RelaySettings::Hysteresis;
    std::uint8_t relay2Mode = RelaySettings::Hysteresis;
    UINT_PTR pollTimer = 0;
    std::uint32_t faultMask = 0;
};
