#include "device/PortDoctor.h"

#include "device/SerialPort.h"

#include <windows.h>

namespace {

std::wstring wide(const std::string& text)
{
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(n > 0 ? n : 1, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), n);
    out.resize(n > 0 ? n - 1 : 0);
    return out;
}

// Opens the port as the tool does: the error code, or 0 when it opened.
DWORD openError(const std::string& portName)
{
    const HANDLE h = ::CreateFileW(wide(SerialPort::DevicePath(portName)).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    ::CloseHandle(h);
    return 0;
}

} // namespace

bool portHeldElsewhere(const std::string& portName)
{
    return openError(portName) == ERROR_ACCESS_DENIED;
}

std::vector<PortFinding> checkSerialEnvironment()
{
    return {};
}

PortCheck checkLocalPort(const std::string& portName)
{
    PortCheck check;
    const DWORD error = openError(portName);
    if (error == 0)
        check.opens = true;
    else if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        check.findings.push_back({true, portName + " is not present",
                                  "plug the adapter in; dnx8 ports lists the ports Windows knows"});
    else if (error == ERROR_ACCESS_DENIED)
        check.findings.push_back({true, portName + " is in use by another program, or access is denied",
                                  "close the program that uses it (config.exe, another dnx8, a terminal program)"});
    else
        check.findings.push_back({true, "cannot open " + portName + " (Windows error " + std::to_string(error) + ")", ""});
    return check;
}
