#pragma once

#include "device/ConverterLink.h"
#include "tests/device/ScriptedTransport.h"

#include <gtest/gtest.h>

#include <memory>

// A link over a scripted port; the port stays reachable for queueing replies
// and the record for what the link did to it.
class ScriptedLinkTest : public ::testing::Test {
protected:
    ScriptedTransport::Record record;
    ScriptedTransport* port = nullptr;
    std::unique_ptr<ConverterLink> link;

    void SetUp() override
    {
        auto transport = std::make_unique<ScriptedTransport>(record);
        port = transport.get();
        link = std::make_unique<ConverterLink>(std::move(transport));
    }
};
