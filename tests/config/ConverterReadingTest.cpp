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

} // namespace
