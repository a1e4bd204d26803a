#include "device/PortList.h"

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
        if (auto port = RegistryPortName(reinterpret_cast<const char*>(data), dataLength))
            list.AddString(*port);
    }
    RegCloseKey(key);
}
