#pragma once

#include "device/ByteTransport.h"
#include "device/CommTimeouts.h"

#include <cstdint>
#include <memory>
#include <string>

// One serial port opened for exclusive, synchronous use. The fields are the
// settings applied at open; change them before opening. The backend (Win32
// or POSIX) is chosen at build time.
class SerialPort : public ByteTransport {
public:
    // Handle value of a closed port (INVALID_HANDLE_VALUE on Windows, -1 as
    // a POSIX descriptor).
    static constexpr std::intptr_t InvalidHandle = -1;

    SerialPort();
    ~SerialPort() override;

    // The device path for a port name: "\\.\" + name on Windows, the name
    // itself (a device path such as /dev/ttyUSB0) elsewhere. A device path
    // and a serial device server's address (tcp://, rfc2217://) stay as
    // they are, so a name may pass through here twice.
    static std::string DevicePath(const std::string& portName);

    bool open(const std::string& devicePath) override;
    void close() override;
    bool isOpen() const override { return handle != InvalidHandle; }
    std::int32_t read(std::uint8_t* buffer, std::int32_t count) override;
    std::int32_t write(const std::uint8_t* buffer, std::int32_t count) override;
    void purge(std::uint32_t flags) override;

    std::intptr_t handle = InvalidHandle;
    CommTimeouts savedTimeouts;
    CommTimeouts timeouts;
    std::uint32_t inputQueueSize = 4096;
    std::uint32_t outputQueueSize = 4096;
    std::uint32_t baudRate = 9600;
    std::uint32_t dcbFlags = 1; // fBinary only: no flow control, no parity check
    std::uint8_t byteSize = 8;
    std::uint8_t parity = 0;   // 0 none, 1 odd, 2 even
    std::uint8_t stopBits = 0; // 0 one, 2 two

private:
    // What the POSIX backend must put back on close (terminal settings);
    // unused on Windows, where the driver keeps the line state.
    struct SavedLine;
    std::unique_ptr<SavedLine> savedLine;
};
