#include "device/ConverterLink.h"

#include "device/FrameCodec.h"
#include "device/LittleEndian.h"
#include "device/SerialPort.h"

#include <algorithm>
#include <cstring>

using protocol::Parameter;
using namespace little_endian;

namespace {

// Bytes skipped while hunting for a reply before the line counts as
// babbling: about a second of noise at 9600 baud. Without a bound a line
// that never falls silent would keep the tool waiting for ever.
constexpr int MaxStrayBytes = 1024;

constexpr std::uint32_t PurgeBroken = ByteTransport::PurgeTxClear | ByteTransport::PurgeRxClear;

} // namespace

std::unique_ptr<SerialPort> ConverterLink::ConverterPort()
{
    auto port = std::make_unique<SerialPort>();
    port->baudRate = 9600;
    port->timeouts.readTotalTimeoutConstant = 200;
    port->timeouts.writeTotalTimeoutConstant = 100;
    return port;
}

ConverterLink::ConverterLink() : port(ConverterPort()) {}

ConverterLink::ConverterLink(std::unique_ptr<ByteTransport> transport) : port(std::move(transport)) {}

ConverterLink::~ConverterLink() = default;

bool ConverterLink::open(const std::string& portName)
{
    // A name with an embedded NUL would open some other, shorter path.
    if (portName.empty() || portName.find('\0') != std::string::npos)
        return false;
    return port->open(SerialPort::DevicePath(portName));
}

void ConverterLink::close()
{
    port->close();
}

bool ConverterLink::isOpen() const
{
    return port->isOpen();
}

bool ConverterLink::sendFrame(std::uint8_t command, std::size_t n)
{
    const std::size_t length = protocol::sealRequest(frame.data(), command, n);
    failure = LinkFailure::None;
    if (stopCheck && stopCheck())
        failure = LinkFailure::Stopped;
    else if (port->write(frame.data(), static_cast<std::int32_t>(length)) != static_cast<std::int32_t>(length))
        failure = LinkFailure::NotSent;
    if (journalOn)
        journal.push_back({command, n > 0, failure});
    sentLength = n;
    return failure == LinkFailure::None;
}

bool ConverterLink::receiveFrame(std::size_t expected)
{
    // A request that never left has no reply to wait for.
    if (failure != LinkFailure::None) {
        tellWriteObserver();
        return false;
    }
    const bool answered = receiveChecked(expected);
    if (journalOn && !journal.empty())
        journal.back().outcome = failure;
    tellWriteObserver();
    return answered;
}

void ConverterLink::tellWriteObserver()
{
    if (!writeObserver || sentLength == 0)
        return;
    LinkWrite write;
    write.code = frame[1];
    write.sent.assign(frame.begin() + DataOffset, frame.begin() + DataOffset + sentLength);
    if (failure == LinkFailure::None)
        write.echo.assign(reply.data().begin(), reply.data().end());
    write.outcome = failure;
    writeObserver(write);
}

void ConverterLink::startJournal()
{
    journal.clear();
    journalOn = true;
}

std::vector<LinkTransaction> ConverterLink::stopJournal()
{
    journalOn = false;
    return std::move(journal);
}

bool ConverterLink::receiveChecked(std::size_t expected)
{
    using Event = protocol::FrameReceiver::Event;
    reply.reset();
    int skipped = 0;
    for (;;) {
        // Byte by byte while hunting and through the header, then the rest
        // of the frame in as few reads as the line allows.
        std::array<std::uint8_t, protocol::FrameSize> chunk{};
        const std::size_t want = reply.outstanding();
        const std::int32_t got = port->read(chunk.data(), static_cast<std::int32_t>(want));
        if (got <= 0) {
            // Silence before a reply began leaves nothing to purge.
            if (reply.inFrame())
                port->purge(PurgeBroken);
            failure = reply.inFrame() || skipped > 0 ? LinkFailure::Broken : LinkFailure::Silent;
            return false;
        }
        // A transport never reports more than asked; guard the buffer anyway.
        const std::size_t count = std::min(static_cast<std::size_t>(got), want);
        for (std::size_t i = 0; i < count; ++i) {
            switch (reply.push(chunk[i])) {
            case Event::None:
                break;
            case Event::Noise:
                if (++skipped > MaxStrayBytes) {
                    port->purge(PurgeBroken);
                    failure = LinkFailure::Broken;
                    return false;
                }
                break;
            case Event::Frame:
                if (!reply.positive())
                    failure = LinkFailure::Nak;
                else if (reply.data().size() != expected)
                    failure = LinkFailure::Broken;
                return failure == LinkFailure::None;
            case Event::BadChecksum:
            case Event::Oversized:
                port->purge(PurgeBroken);
                failure = LinkFailure::Broken;
                return false;
            }
        }
    }
}

std::optional<std::string> ConverterLink::identify()
{
    sendFrame(protocol::Code(Parameter::Identity), 0);
    if (!receiveFrame(protocol::IdentitySize))
        return std::nullopt;
    const char* text = reinterpret_cast<const char*>(reply.data().data());
    return std::string(text, strnlen(text, protocol::IdentitySize));
}

// Typed transactions: send, receive, copy; outputs change only on success.

bool ConverterLink::readByte(Parameter p, std::uint8_t& value)
{
    sendFrame(protocol::Code(p), 0);
    if (!receiveFrame(1))
        return false;
    value = reply.data()[0];
    return true;
}

bool ConverterLink::writeByte(Parameter p, std::uint8_t& value)
{
    frame[DataOffset] = value;
    sendFrame(protocol::Code(p), 1);
    if (!receiveFrame(1))
        return false;
    value = reply.data()[0];
    return true;
}

bool ConverterLink::readWord(Parameter p, std::uint16_t& value)
{
    sendFrame(protocol::Code(p), 0);
    if (!receiveFrame(2))
        return false;
    value = GetU16(reply.data().data());
    return true;
}

bool ConverterLink::read4Bytes(Parameter p, std::array<std::uint8_t, 4>& value)
{
    sendFrame(protocol::Code(p), 0);
    if (!receiveFrame(4))
        return false;
    std::memcpy(value.data(), reply.data().data(), 4);
    return true;
}

bool ConverterLink::readReal(Parameter p, float& value)
{
    std::array<std::uint8_t, 4> bytes{};
    if (!read4Bytes(p, bytes))
        return false;
    value = GetFloat(bytes.data());
    return true;
}

bool ConverterLink::writeReal(Parameter p, float& value)
{
    PutFloat(frame.data() + DataOffset, value);
    sendFrame(protocol::Code(p), 4);
    if (!receiveFrame(4))
        return false;
    value = GetFloat(reply.data().data());
    return true;
}

bool ConverterLink::readBlock(Parameter p, std::uint8_t* record, std::size_t size)
{
    sendFrame(protocol::Code(p), 0);
    if (!receiveFrame(size))
        return false;
    std::memcpy(record, reply.data().data(), size);
    return true;
}

bool ConverterLink::writeBlock(Parameter p, std::uint8_t* record, std::size_t size, bool takeEcho)
{
    std::memcpy(frame.data() + DataOffset, record, size);
    sendFrame(protocol::Code(p), size);
    if (!receiveFrame(size))
        return false;
    if (takeEcho)
        std::memcpy(record, reply.data().data(), size);
    return true;
}

bool ConverterLink::writeIndexedBlock(Parameter p, std::uint8_t index, const std::uint8_t* record,
                                      std::size_t size)
{
    frame[DataOffset] = index;
    std::memcpy(frame.data() + DataOffset + 1, record, size);
    sendFrame(protocol::Code(p), size + 1);
    return receiveFrame(size);
}

bool ConverterLink::bareCommand(Parameter p)
{
    frame[DataOffset] = 0;
    sendFrame(protocol::Code(p), 1);
    return receiveFrame(0);
}

// Parameter accessors.

bool ConverterLink::readFirmwareVersion(std::uint16_t& value)
{
    return readWord(Parameter::FirmwareVersion, value);
}

bool ConverterLink::readSerialNumber(std::int32_t& value)
{
    std::array<std::uint8_t, 4> bytes{};
    if (!read4Bytes(Parameter::SerialNumber, bytes))
        return false;
    value = static_cast<std::int32_t>(GetU32(bytes.data()));
    return true;
}

// One line per accessor: the table reads like the parameter list.
// clang-format off
bool ConverterLink::readLiveInput(float& value) { return readReal(Parameter::LiveInput, value); }
bool ConverterLink::readLiveProcess(float& value) { return readReal(Parameter::LiveProcess, value); }
bool ConverterLink::readLiveValue(float& value) { return readReal(Parameter::LiveValue, value); }
bool ConverterLink::readLiveRatio(float& value) { return readReal(Parameter::LiveRatio, value); }

bool ConverterLink::commit() { return bareCommand(Parameter::Commit); }

bool ConverterLink::readInputType(std::uint8_t& value) { return readByte(Parameter::InputType, value); }
bool ConverterLink::writeInputType(std::uint8_t value) { return writeByte(Parameter::InputType, value); }
bool ConverterLink::readOutputType(std::uint8_t& value) { return readByte(Parameter::OutputType, value); }
bool ConverterLink::readRelayOptions(std::uint8_t& value) { return readByte(Parameter::RelayOptions, value); }

bool ConverterLink::readDivider(float& value) { return readReal(Parameter::Divider, value); }
bool ConverterLink::writeDivider(float value) { return writeReal(Parameter::Divider, value); }
bool ConverterLink::readShunt(float& value) { return readReal(Parameter::Shunt, value); }
bool ConverterLink::writeShunt(float value) { return writeReal(Parameter::Shunt, value); }
bool ConverterLink::readRangeMin(float& value) { return readReal(Parameter::RangeMin, value); }
bool ConverterLink::writeRangeMin(float value) { return writeReal(Parameter::RangeMin, value); }
bool ConverterLink::readRangeMax(float& value) { return readReal(Parameter::RangeMax, value); }
bool ConverterLink::writeRangeMax(float value) { return writeReal(Parameter::RangeMax, value); }

bool ConverterLink::readCurveDegree(std::uint8_t& value) { return readByte(Parameter::CurveDegree, value); }
bool ConverterLink::writeCurveDegree(std::uint8_t value) { return writeByte(Parameter::CurveDegree, value); }

bool ConverterLink::readCurveCoefficients(CurveCoefficients& value)
{
    std::array<std::uint8_t, protocol::CoefficientsSize> bytes{};
    if (!readBlock(Parameter::CurveCoefficients, bytes.data(), bytes.size()))
        return false;
    for (std::size_t i = 0; i < value.size(); ++i)
        value[i] = GetFloat(bytes.data() + 4 * i);
    return true;
}

bool ConverterLink::writeCurveCoefficients(const CurveCoefficients& value)
{
    std::array<std::uint8_t, protocol::CoefficientsSize> bytes{};
    for (std::size_t i = 0; i < value.size(); ++i)
        PutFloat(bytes.data() + 4 * i, value[i]);
    return writeBlock(Parameter::CurveCoefficients, bytes.data(), bytes.size(), false);
}

namespace {

template <typename Transfer>
bool TransferRelay(RelaySettings& value, Transfer transfer)
{
    RelaySettings::Bytes bytes = value.encode();
    if (!transfer(bytes.data()))
        return false;
    value = RelaySettings::decode(bytes.data());
    return true;
}

} // namespace

bool ConverterLink::readRelay1(RelaySettings& value)
{
    return TransferRelay(value, [this](std::uint8_t* b) { return readBlock(Parameter::Relay1, b, RelaySettings::Size); });
}

bool ConverterLink::writeRelay1(RelaySettings& value)
{
    return TransferRelay(value, [this](std::uint8_t* b) { return writeBlock(Parameter::Relay1, b, RelaySettings::Size, true); });
}

bool ConverterLink::readRelay2(RelaySettings& value)
{
    return TransferRelay(value, [this](std::uint8_t* b) { return readBlock(Parameter::Relay2, b, RelaySettings::Size); });
}

bool ConverterLink::writeRelay2(RelaySettings& value)
{
    return TransferRelay(value, [this](std::uint8_t* b) { return writeBlock(Parameter::Relay2, b, RelaySettings::Size, true); });
}

bool ConverterLink::readScaleMin(float& value) { return readReal(Parameter::ScaleMin, value); }
bool ConverterLink::writeScaleMin(float& value) { return writeReal(Parameter::ScaleMin, value); }
bool ConverterLink::readScaleMax(float& value) { return readReal(Parameter::ScaleMax, value); }
bool ConverterLink::writeScaleMax(float& value) { return writeReal(Parameter::ScaleMax, value); }

bool ConverterLink::readFilter(std::uint8_t& value) { return readByte(Parameter::Filter, value); }
bool ConverterLink::writeFilter(std::uint8_t value) { return writeByte(Parameter::Filter, value); }
bool ConverterLink::readSegmentCount(std::uint8_t& value) { return readByte(Parameter::SegmentCount, value); }
bool ConverterLink::writeSegmentCount(std::uint8_t value) { return writeByte(Parameter::SegmentCount, value); }
bool ConverterLink::readErrorSignalling(std::uint8_t& value) { return readByte(Parameter::ErrorSignalling, value); }
bool ConverterLink::writeErrorSignalling(std::uint8_t& value) { return writeByte(Parameter::ErrorSignalling, value); }
// clang-format on

bool ConverterLink::writeFilter(std::uint8_t value, std::uint8_t& echo)
{
    if (!writeByte(Parameter::Filter, value))
        return false;
    echo = value;
    return true;
}

bool ConverterLink::writeEmfRange(std::uint8_t index, const EmfRangePiece& piece)
{
    return writeIndexedBlock(Parameter::EmfRange, index, piece.data(), piece.size());
}

bool ConverterLink::writeSegment(std::uint8_t index, const SegmentRecord& segment)
{
    std::array<std::uint8_t, protocol::SegmentSize> bytes{};
    for (std::size_t i = 0; i < segment.size(); ++i)
        PutFloat(bytes.data() + 4 * i, segment[i]);
    return writeIndexedBlock(Parameter::Segment, index, bytes.data(), bytes.size());
}
