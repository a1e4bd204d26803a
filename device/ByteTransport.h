#pragma once

#include "framework/BaseObject.h"

#include <cstdint>
#include <string>

// The byte pipe under ConverterLink: a serial port in the program, a scripted
// stand-in in tests. One call of read or write is one transfer attempt; a
// short count is how a time-out shows.
class ByteTransport : public BaseObject {
public:
    // Flags of purge; the values are those of the Windows serial driver.
    static constexpr std::uint32_t PurgeTxAbort = 0x1;
    static constexpr std::uint32_t PurgeRxAbort = 0x2;
    static constexpr std::uint32_t PurgeTxClear = 0x4;
    static constexpr std::uint32_t PurgeRxClear = 0x8;

    virtual bool open(const std::string& devicePath) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Bytes actually transferred; 0 when closed or nothing arrived in time.
    virtual std::int32_t read(std::uint8_t* buffer, std::int32_t count) = 0;
    virtual std::int32_t write(const std::uint8_t* buffer, std::int32_t count) = 0;
    virtual void purge(std::uint32_t flags) = 0;
};
