#include "device/PortList.h"

#include <cstring>
#include <string>
#include <windows.h>

void FillPortList(StringCollection& list)
{
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "hardware\\devicemap\\serialcomm", &key) != ERROR_SUCCESS)
        return;
    DWORD count = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        count = 0;
    for (DWORD i = 0; i < count; ++i) {
        char name[64];
        DWORD nameLength = sizeof(name);
        BYTE data[8];
        DWORD dataLength = sizeof(data);
        // A name or port that does not fit reports more data and leaves no
        // usable text behind: skip it.
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, nullptr, data, &dataLength) != ERROR_SUCCESS)
            continue;
        const char* text = reinterpret_cast<const char*>(data);
        const std::string port(text, strnlen(text, dataLength));
        if (!port.empty())
            list.AddString(port);
    }
    RegCloseKey(key);
}
