#pragma once

#include "device/ConverterLink.h"
#include "framework/Application.h"
#include "framework/StaticText.h"
#include "framework/Window.h"
#include "linearization/LinearizationTable.h"
#include "tests/device/MemoryConverter.h"
#include "tests/framework/DialogDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// A main window stand-in with its input description and linearization
// table, and a converter in memory behind the link, for running the input
// dialogs modally.
class InputDialogTest : public ::testing::Test {
protected:
    InputDialogTest();
    ~InputDialogTest() override;

    // Runs the dialog; act works it once it shows and closes it. The
    // dialog's result.
    int runModal(std::unique_ptr<DialogObject> dialog, DialogDriver::Step act);
    // Runs dialog D on the host, link, description and table, then extra
    // constructor arguments.
    template <class D, class... Extra> int run(DialogDriver::Step act, Extra&&... extra)
    {
        return runModal(std::make_unique<D>(host, *link, *description, table, std::forward<Extra>(extra)...),
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
    // The requests after the first, which is a sensor dialog's only read.
    std::vector<MemoryConverter::Request> laterRequests() const;

    Application app{"DNX8 config"};
    MemoryConverter* converter = nullptr;
    std::unique_ptr<ConverterLink> link;
    Window* host = nullptr;
    StaticText* description = nullptr;
    LinearizationTable table;
    // The cursor shown when each request arrived.
    std::vector<HCURSOR> cursors;
};

// The thermometer or thermocouple dialog over a catalog and the main
// window's current sensor of its kind.
template <class Dialog, class Catalog, class Curve> class SensorDialogTest : public InputDialogTest {
protected:
    int run(DialogDriver::Step act)
    {
        return runModal(std::make_unique<Dialog>(host, *link, *description, catalog, current),
                        std::move(act));
    }

    Catalog catalog;
    const Curve* current = nullptr;
};

// Little-endian bytes as they travel.
MemoryConverter::Bytes Bytes(float value);
MemoryConverter::Bytes Bytes(const std::array<float, 10>& values);
float FloatAt(const MemoryConverter::Bytes& bytes, std::size_t offset);
MemoryConverter::Request Request(protocol::Parameter parameter, MemoryConverter::Bytes data = {});
