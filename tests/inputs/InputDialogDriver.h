#pragma once

#include "device/ConverterLink.h"
#include "framework/Application.h"
#include "framework/StaticText.h"
#include "framework/Window.h"
#include "linearization/LinearizationTable.h"
#include "tests/device/MemoryConverter.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// What a user sees and does in a running dialog, by control id.
class DialogView {
public:
    explicit DialogView(HWND dialog) : dialog(dialog) {}

    std::string caption() const;
    std::string text(int id) const;
    bool enabled(int id) const;
    bool checked(int id) const;
    // The entries of a combo box and the selected one ("" for none).
    std::vector<std::string> entries(int id) const;
    std::string selected(int id) const;

    // Picks entry index of a combo box, as the mouse does.
    void choose(int id, int index) const;
    void click(int id) const;
    void type(int id, const std::string& text) const;
    void ok() const { click(IDOK); }
    void cancel() const;

private:
    HWND dialog;
};

// Runs a dialog modally through the application; `act` runs once the
// dialog's modal loop is going and must end it. A stuck dialog ends with
// 99 after a safety period.
int RunDriven(Application& app, std::unique_ptr<DialogObject> dialog, std::function<void(DialogView&)> act);

// A converter in memory, the main window's description text and table.
class InputDialogTest : public ::testing::Test {
protected:
    InputDialogTest();
    ~InputDialogTest() override;

    // Runs dialog D on the fixture's link, description and table (then
    // extra constructor arguments); the dialog's result.
    template <class D, class... Extra> int run(std::function<void(DialogView&)> act, Extra&&... extra)
    {
        return RunDriven(
            app, std::make_unique<D>(nullptr, *link, *description, table, std::forward<Extra>(extra)...),
            std::move(act));
    }

    // A converter set to code whose range is min..max, with or without a
    // polynomial.
    void configure(std::uint8_t code, float min, float max, bool linearized);
    // A table holding two spline segments over 0..100.
    void fillTable();

    // The parameters written, in order.
    std::vector<protocol::Parameter> written() const;
    // Data of the first write of p; fails the test when there is none.
    MemoryConverter::Bytes writtenData(protocol::Parameter p) const;
    float writtenReal(protocol::Parameter p) const { return RealOf(writtenData(p)); }

    Application app{"input dialogs"};
    MemoryConverter* converter = nullptr;
    std::unique_ptr<ConverterLink> link;
    Window* host = nullptr;
    StaticText* description = nullptr;
    LinearizationTable table;
};
