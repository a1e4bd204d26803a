#pragma once

#include "device/ConverterLink.h"
#include "framework/Application.h"
#include "framework/StaticText.h"
#include "framework/Window.h"
#include "tests/device/MemoryConverter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// What a sensor dialog shows, read from its window.
struct SensorDialogView {
    std::vector<std::string> types;
    int typeSelection = -1;
    std::string range;
    std::vector<std::string> wirings;
    int wiringSelection = -1;
};
SensorDialogView ViewOf(HWND dialog);

// Selects an entry of a drop-down list as a user does, with its notification.
void Pick(HWND dialog, int listId, int index);
void PressOk(HWND dialog);

// Little-endian bytes as they travel.
std::vector<std::uint8_t> Bytes(float value);
std::vector<std::uint8_t> Bytes(const std::array<float, 10>& values);
float FloatAt(const std::vector<std::uint8_t>& bytes, std::size_t offset);

using ConverterRequest = MemoryConverter::Request;
ConverterRequest Request(protocol::Parameter parameter, std::vector<std::uint8_t> data = {});

// A dialog that runs modally and lets the test act once its loop runs; a
// stuck dialog ends with 99 after ten seconds.
template <class Dialog> class DrivenDialog : public Dialog {
public:
    template <class... Args>
    explicit DrivenDialog(std::function<void(HWND)> act, Args&&... args)
        : Dialog(std::forward<Args>(args)...), action(std::move(act))
    {
    }
    void SetUp() override
    {
        Dialog::SetUp();
        SetTimer(this->Handle(), SafetyTimer, 10000, nullptr);
        PostMessageW(this->Handle(), ActMessage, 0, 0);
    }
    void Dispatch(WindowMessage& msg) override
    {
        if (msg.message == ActMessage)
            action(this->Handle());
        else if (msg.message == WM_TIMER && msg.wParam == SafetyTimer)
            this->EndDialog(99);
        else
            Dialog::Dispatch(msg);
    }

private:
    static constexpr UINT ActMessage = WM_APP + 1;
    static constexpr UINT_PTR SafetyTimer = 99;
    std::function<void(HWND)> action;
};

// A main window stand-in with its input description, and a converter that
// answers no read until the test stores an input type.
class SensorDialogTest : public ::testing::Test {
protected:
    static constexpr int Closed = IDCANCEL;

    SensorDialogTest();
    ~SensorDialogTest() override;

    // Runs the dialog; act sees it once it is up and ends it.
    template <class Dialog, class... Args> int run(std::function<void(HWND)> act, Args&&... args)
    {
        return app.RunModal(std::make_unique<DrivenDialog<Dialog>>(std::move(act), host, *link, *description,
                                                                   std::forward<Args>(args)...));
    }
    // The requests after the dialog's opening read.
    std::vector<ConverterRequest> writes() const;

    Application app;
    Window* host = nullptr;
    StaticText* description = nullptr;
    MemoryConverter* converter = nullptr;
    // The cursor shown when each request arrived.
    std::vector<HCURSOR> cursors;
    std::unique_ptr<ConverterLink> link;
};

// Looks at the dialog, then closes it without OK.
inline std::function<void(HWND)> LookAndClose(SensorDialogView& view)
{
    return [&view](HWND dialog) {
        view = ViewOf(dialog);
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    };
}
