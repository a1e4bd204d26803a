#include "config/ConverterReading.h"

#include "tests/device/MemoryConverter.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using P = protocol::Parameter;

TEST(ConverterReading, ReadsInTheWindowsOrderAndGoesOnPastAFailedRead)
{
    auto memory = std::make_unique<MemoryConverter>();
    MemoryConverter& converter = *memory;
    ConverterLink link(std::move(memory));
    converter.stored[P::FirmwareVersion] = {0x05, 0x01};
    converter.stored[P::SerialNumber] = {0x15, 0xAA, 0x03, 0x00};
    converter.storeByte(P::OutputType, 2);
    converter.storeByte(P::RelayOptions, 3);
    converter.storeByte(P::CurveDegree, 0);
    converter.stored[P::CurveCoefficients] = MemoryConverter::Bytes(40, 0);
    converter.storeByte(P::InputType, 7);
    // Filter does not answer.
    converter.storeReal(P::ScaleMin, -200);
    converter.storeReal(P::ScaleMax, 850);
    converter.storeByte(P::ErrorSignalling, 2);
    converter.stored[P::LiveInput] = {0xFF, 0xFF, 0xFF, 0xFF};
    converter.storeReal(P::LiveProcess, 21.5f);
    converter.storeReal(P::LiveValue, 20);
    converter.storeReal(P::LiveRatio, 0.5f);
    const RelaySettings::Bytes relay = RelaySettings{80, 75, 2, 3, 1}.encode();
    converter.stored[P::Relay1] = MemoryConverter::Bytes(relay.begin(), relay.end());

    const ConverterReading r = readConverter(link, ReadScope::Window);

    std::vector<P> order;
    for (const MemoryConverter::Request& request : converter.requests)
        order.push_back(request.parameter());
    EXPECT_EQ(order, (std::vector{P::FirmwareVersion, P::SerialNumber, P::OutputType, P::RelayOptions,
                                  P::CurveDegree, P::CurveCoefficients, P::InputType, P::Filter, P::ScaleMin,
                                  P::ScaleMax, P::ErrorSignalling, P::LiveInput, P::LiveProcess, P::LiveValue,
                                  P::LiveRatio, P::Relay1, P::Relay2}));
    EXPECT_EQ(r.firmwareVersion, 0x0105);
    EXPECT_EQ(r.serialNumber, 240149);
    EXPECT_EQ(r.settings.inputType, 7);
    EXPECT_FALSE(r.settings.filter.has_value());
    EXPECT_EQ(r.settings.scaleMax, 850.0f);
    EXPECT_EQ(r.settings.errorSignalling, 2);
    ASSERT_TRUE(r.live.input.has_value());
    EXPECT_TRUE(isFaultPattern(*r.live.input));
    EXPECT_FALSE(isFaultPattern(*r.live.process));
    EXPECT_EQ(r.live.ratio, 0.5f);
    EXPECT_EQ(r.settings.relay1, (RelaySettings{80, 75, 2, 3, 1}));
    EXPECT_FALSE(r.settings.relay2.has_value());
}

// The wire order of every scope, which failedReads follows: the window's
// order is what it always was, and dnx8 read adds its five reads after it.
TEST(ConverterReading, EachScopeReadsInItsWireOrderAndNamesFailedReadsInIt)
{
    const std::vector<P> identity{P::FirmwareVersion, P::SerialNumber, P::OutputType, P::RelayOptions};
    std::vector<P> window = identity;
    window.insert(window.end(), {P::CurveDegree, P::CurveCoefficients, P::InputType, P::Filter, P::ScaleMin,
                                 P::ScaleMax, P::ErrorSignalling, P::LiveInput, P::LiveProcess, P::LiveValue,
                                 P::LiveRatio, P::Relay1, P::Relay2});
    std::vector<P> all = window;
    all.insert(all.end(), {P::Divider, P::Shunt, P::RangeMin, P::RangeMax, P::SegmentCount});
    const std::vector<P> input{P::CurveDegree, P::CurveCoefficients, P::InputType, P::Divider,
                               P::Shunt,       P::RangeMin,          P::RangeMax,  P::SegmentCount};
    const std::pair<ReadScope, std::vector<P>> scopes[] = {{ReadScope::Identity, identity},
                                                           {ReadScope::Window, window},
                                                           {ReadScope::All, all},
                                                           {ReadScope::Input, input}};

    for (const auto& [scope, expected] : scopes) {
        // Nothing stored: every read is refused, and each is still made.
        auto memory = std::make_unique<MemoryConverter>();
        MemoryConverter& converter = *memory;
        ConverterLink link(std::move(memory));
        const ConverterReading r = readConverter(link, scope, "DNX8");

        std::vector<P> order;
        for (const MemoryConverter::Request& request : converter.requests)
            order.push_back(request.parameter());
        EXPECT_EQ(order, expected) << static_cast<int>(scope);
        EXPECT_EQ(r.failedReads(scope).size(), expected.size());
        EXPECT_EQ(r.identity, "DNX8");
        if (scope == ReadScope::All) {
            EXPECT_EQ(r.failedReads(),
                      (std::vector<std::string_view>{
                          "FirmwareVersion", "SerialNumber",      "OutputType",      "RelayOptions",
                          "CurveDegree",     "CurveCoefficients", "InputType",       "Filter",
                          "ScaleMin",        "ScaleMax",          "ErrorSignalling", "LiveInput",
                          "LiveProcess",     "LiveValue",         "LiveRatio",       "Relay1",
                          "Relay2",          "Divider",           "Shunt",           "RangeMin",
                          "RangeMax",        "SegmentCount"}));
        }
    }
}

TEST(ConverterReading, DnxReadFillsTheWholeConfigurationAndPresentsTheInput)
{
    auto memory = std::make_unique<MemoryConverter>();
    MemoryConverter& converter = *memory;
    ConverterLink link(std::move(memory));
    converter.storeByte(P::InputType, 0);
    converter.storeReal(P::Divider, 2.5f);
    converter.storeByte(P::SegmentCount, 4);

    const ConverterReading r = readConverter(link, ReadScope::All);
    EXPECT_EQ(r.settings.inputType, 0);
    EXPECT_EQ(r.settings.divider, 2.5f);
    EXPECT_EQ(r.settings.segmentCount, 4);
    EXPECT_FALSE(r.settings.shunt.has_value());
    ASSERT_TRUE(r.input.has_value());
    EXPECT_EQ(r.input->listPosition, 0);
    // The window does not read what only dnx8 read shows.
    EXPECT_FALSE(readConverter(link, ReadScope::Window).settings.divider.has_value());
}

} // namespace
