// set against a converter that stores another value than asked: the echo
// is printed and the exit code says the converter differs.
#include "device/LittleEndian.h"
#include "device/Protocol.h"
#include "tests/cli/ProgramRun_posix.h"
#include "tests/device/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <algorithm>

using P = protocol::Parameter;

namespace {

PseudoTerminal::Bytes Ack(PseudoTerminal::Bytes data)
{
    data.insert(data.begin(), {protocol::Ack, static_cast<std::uint8_t>(data.size())});
    data.push_back(protocol::Checksum(data.data(), data.size()));
    return data;
}

TEST(Dnx8ClippedEcho, SetReportsTheStoredValueAndExitsThree)
{
    PseudoTerminal line;
    // Stores ScaleMin clamped to -100 and echoes every other write as it came.
    ConverterPeer converter(
        line,
        [](std::uint8_t command, const PseudoTerminal::Bytes& data) -> std::optional<PseudoTerminal::Bytes> {
            if (command == protocol::Code(P::Identity))
                return Ack({'D', 'N', 'X', '8', 0, 0, 0, 0});
            if (command == protocol::Code(P::ScaleMin) && data.size() == 4) {
                PseudoTerminal::Bytes stored(4);
                little_endian::PutFloat(stored.data(),
                                        std::max(little_endian::GetFloat(data.data()), -100.0f));
                return Ack(stored);
            }
            return Ack(data);
        });
    const ProgramRun run = RunDnx8({"set", line.slavePath(), "scale-min=-500", "filter=7"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_NE(run.out.find("-100.00"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Filtr"), std::string::npos) << run.out; // the later setting is still written
    EXPECT_NE(run.err.find("scale-min=-500"), std::string::npos) << run.err;
}

} // namespace
