#pragma once

#include "device/ByteTransport.h"
#include "device/FrameReceiver.h"
#include "device/LinkFailure.h"
#include "device/Protocol.h"
#include "device/RelaySettings.h"
#include "framework/BaseObject.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Polynomial c0..c9 of CurveCoefficients, c0 first.
using CurveCoefficients = std::array<float, 10>;
// One thermocouple inverse-characteristic piece, as the converter stores it.
using EmfRangePiece = std::array<std::uint8_t, protocol::EmfRangeSize>;
// One linearization segment: five reals in table order.
using SegmentRecord = std::array<float, 5>;

class SerialPort;

// The tool's only road to the converter: frames requests, receives and
// checks replies, and offers one accessor per parameter and direction.
// Every transaction returns false on failure and then leaves the caller's
// variable as it was; writes that echo hand back the converter's value.
class ConverterLink : public BaseObject {
public:
    // Owns a closed SerialPort set to 9600 baud, 200 ms read and 100 ms
    // write time-outs.
    ConverterLink();
    // Works through the given transport instead (tests, other transports).
    explicit ConverterLink(std::unique_ptr<ByteTransport> port);
    ~ConverterLink() override;

    // A closed SerialPort with the settings the default constructor uses,
    // for a transport that wraps the port (a frame trace).
    static std::unique_ptr<SerialPort> ConverterPort();

    // Opens SerialPort::DevicePath(portName); false at once for an empty name.
    bool open(const std::string& portName);
    void close();
    bool isOpen() const;

    // Why the last transaction failed (None after a success).
    LinkFailure lastFailure() const { return failure; }
    // Asked before every request: once it says true, nothing more is sent and
    // every transaction fails as Stopped. The transaction under way finishes
    // or times out first.
    void setStopCheck(std::function<bool()> check) { stopCheck = std::move(check); }
    // Every request from now on, with its outcome, until stopped again; a
    // report of an interrupted sequence is built from it.
    void startJournal();
    std::vector<LinkTransaction> stopJournal();
    // Told of every data-carrying request once its outcome is known, apart
    // from the journal above; an empty function stops it.
    void setWriteObserver(std::function<void(const LinkWrite&)> observer)
    {
        writeObserver = std::move(observer);
    }

    // The identity text up to its first NUL (at most 8 characters), or
    // nothing when the converter did not answer properly.
    std::optional<std::string> identify();

    bool readFirmwareVersion(std::uint16_t& value);
    bool readSerialNumber(std::int32_t& value);
    bool readLiveInput(float& value);
    bool readLiveProcess(float& value);
    bool readLiveValue(float& value);
    bool readLiveRatio(float& value);

    bool commit();

    bool readInputType(std::uint8_t& value);
    bool writeInputType(std::uint8_t value);
    bool readOutputType(std::uint8_t& value);
    bool readRelayOptions(std::uint8_t& value);

    bool readDivider(float& value);
    bool writeDivider(float value);
    bool readShunt(float& value);
    bool writeShunt(float value);
    bool readRangeMin(float& value);
    bool writeRangeMin(float value);
    bool readRangeMax(float& value);
    bool writeRangeMax(float value);

    bool readCurveDegree(std::uint8_t& value);
    bool writeCurveDegree(std::uint8_t value);
    bool readCurveCoefficients(CurveCoefficients& value);
    bool writeCurveCoefficients(const CurveCoefficients& value);

    bool readRelay1(RelaySettings& value);
    bool writeRelay1(RelaySettings& value);
    bool readRelay2(RelaySettings& value);
    bool writeRelay2(RelaySettings& value);

    bool readScaleMin(float& value);
    bool writeScaleMin(float& value);
    bool readScaleMax(float& value);
    bool writeScaleMax(float& value);

    bool readFilter(std::uint8_t& value);
    bool writeFilter(std::uint8_t value);
    // The same write, handing back the value the converter stored.
    bool writeFilter(std::uint8_t value, std::uint8_t& echo);
    bool readSegmentCount(std::uint8_t& value);
    bool writeSegmentCount(std::uint8_t value);
    bool readErrorSignalling(std::uint8_t& value);
    bool writeErrorSignalling(std::uint8_t& value);

    bool writeEmfRange(std::uint8_t index, const EmfRangePiece& piece);
    bool writeSegment(std::uint8_t index, const SegmentRecord& segment);

private:
    static constexpr std::size_t DataOffset = protocol::RequestHeader;

    bool sendFrame(std::uint8_t command, std::size_t n);
    bool receiveFrame(std::size_t expected);
    bool receiveChecked(std::size_t expected);
    void tellWriteObserver();

    bool readByte(protocol::Parameter p, std::uint8_t& value);
    bool writeByte(protocol::Parameter p, std::uint8_t& value);
    bool readWord(protocol::Parameter p, std::uint16_t& value);
    bool read4Bytes(protocol::Parameter p, std::array<std::uint8_t, 4>& value);
    bool readReal(protocol::Parameter p, float& value);
    bool writeReal(protocol::Parameter p, float& value);
    bool readBlock(protocol::Parameter p, std::uint8_t* record, std::size_t size);
    bool writeBlock(protocol::Parameter p, std::uint8_t* record, std::size_t size, bool takeEcho);
    bool writeIndexedBlock(protocol::Parameter p, std::uint8_t index, const std::uint8_t* record,
                           std::size_t size);
    bool bareCommand(protocol::Parameter p);

    std::array<std::uint8_t, protocol::FrameSize> frame{}; // the request being sent
    protocol::FrameReceiver reply{protocol::FrameReceiver::Direction::Reply};
    std::unique_ptr<ByteTransport> port;
    LinkFailure failure = LinkFailure::None;
    std::function<bool()> stopCheck;
    bool journalOn = false;
    std::vector<LinkTransaction> journal;
    std::function<void(const LinkWrite&)> writeObserver;
    std::size_t sentLength = 0; // data bytes of the request being answered
};
