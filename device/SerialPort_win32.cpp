#include "device/SerialPort.h"

#include <cstddef>
#include <cstring>
#include <windows.h>

struct SerialPort::SavedLine {};

namespace {

static_assert(sizeof(CommTimeouts) == sizeof(COMMTIMEOUTS));
// The flag word of a DCB is the 32-bit word after BaudRate.
static_assert(offsetof(DCB, BaudRate) == 4 && offsetof(DCB, wReserved) == 12);
constexpr std::size_t DcbFlagsOffset = 8;

COMMTIMEOUTS ToDriver(const CommTimeouts& t)
{
    return {t.readIntervalTimeout, t.readTotalTimeoutMultiplier, t.readTotalTimeoutConstant,
            t.writeTotalTimeoutMultiplier, t.writeTotalTimeoutConstant};
}

CommTimeouts FromDriver(const COMMTIMEOUTS& t)
{
    return {t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier, t.ReadTotalTimeoutConstant,
            t.WriteTotalTimeoutMultiplier, t.WriteTotalTimeoutConstant};
}

HANDLE AsHandle(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

SerialPort::SerialPort() = default;

SerialPort::~SerialPort()
{
    close();
}

std::string SerialPort::DevicePath(const std::string& portName)
{
    // A device path already, or a serial device server's address: as it is.
    if (portName.rfind("\\\\.\\", 0) == 0 || portName.find("://") != std::string::npos)
        return portName;
    return "\\\\.\\" + portName;
}

bool SerialPort::open(const std::string& devicePath)
{
    close();
    const HANDLE h =
        CreateFileA(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    handle = reinterpret_cast<std::intptr_t>(h);
    if (h == INVALID_HANDLE_VALUE)
        return false;

    // Once the handle is valid the port counts as open, whatever the driver
    // says to the settings.
    COMMTIMEOUTS found = ToDriver(savedTimeouts);
    GetCommTimeouts(h, &found);
    savedTimeouts = FromDriver(found);
    COMMTIMEOUTS wanted = ToDriver(timeouts);
    SetCommTimeouts(h, &wanted);
    SetupComm(h, inputQueueSize, outputQueueSize);

    // Only speed, flags and framing are ours; the driver keeps its XON/XOFF
    // limits and special characters.
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    GetCommState(h, &dcb);
    dcb.BaudRate = baudRate;
    std::memcpy(reinterpret_cast<unsigned char*>(&dcb) + DcbFlagsOffset, &dcbFlags, sizeof(dcbFlags));
    dcb.ByteSize = byteSize;
    dcb.Parity = parity;
    dcb.StopBits = stopBits;
    SetCommState(h, &dcb);
    return true;
}

void SerialPort::close()
{
    if (!isOpen())
        return;
    const HANDLE h = AsHandle(handle);
    PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    COMMTIMEOUTS previous = ToDriver(savedTimeouts);
    SetCommTimeouts(h, &previous);
    CloseHandle(h);
    handle = InvalidHandle;
}

std::int32_t SerialPort::read(std::uint8_t* buffer, std::int32_t count)
{
    if (!isOpen() || count <= 0)
        return 0;
    DWORD got = 0;
    ReadFile(AsHandle(handle), buffer, static_cast<DWORD>(count), &got, nullptr);
    return static_cast<std::int32_t>(got);
}

std::int32_t SerialPort::write(const std::uint8_t* buffer, std::int32_t count)
{
    if (!isOpen() || count <= 0)
        return 0;
    DWORD done = 0;
    WriteFile(AsHandle(handle), buffer, static_cast<DWORD>(count), &done, nullptr);
    return static_cast<std::int32_t>(done);
}

void SerialPort::purge(std::uint32_t flags)
{
    if (isOpen())
        PurgeComm(AsHandle(handle), flags);
}
