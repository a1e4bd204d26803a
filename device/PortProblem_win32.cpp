#include "device/PortProblem.h"

#include "device/SerialPort.h"

#include <windows.h>

std::string portOpenProblem(const std::string& portName)
{
    // Opened as the port itself opens it.
    const std::string path = SerialPort::DevicePath(portName);
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return "it could not be set up as a serial line";
    }
    const DWORD error = GetLastError();
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "no such port (the adapter is unplugged or its driver is missing)";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return "held by another program (config.exe, another dnx8)";
    default:
        return "Windows error " + std::to_string(error);
    }
}
