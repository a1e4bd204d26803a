#include "device/PortList.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 5> SerialPrefixes = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA", "rfcomm"};

bool LooksSerial(std::string_view name)
{
    for (std::string_view prefix : SerialPrefixes)
        if (name.size() > prefix.size() && name.starts_with(prefix))
            return true;
    return false;
}

// The kernel keeps ttyS entries for every possible legacy port; those with
// no hardware behind them report type 0.
bool HasHardware(const fs::path& ttyEntry)
{
    std::ifstream type(ttyEntry / "type");
    int value = -1;
    if (type >> value)
        return value != 0;
    return true;
}

bool IsCharacterDevice(const fs::path& path)
{
    std::error_code error;
    return fs::is_character_file(path, error);
}

} // namespace

void FillPortListFrom(StringCollection& list, const fs::path& sysClassTty, const fs::path& devDir)
{
    std::error_code error;
    if (fs::is_directory(sysClassTty, error)) {
        // Only devices with a driver behind them; virtual terminals and
        // pseudo-terminals have no "device" entry.
        for (const auto& entry : fs::directory_iterator(sysClassTty, error)) {
            const std::string name = entry.path().filename().string();
            std::error_code ignored;
            if (!LooksSerial(name) || !fs::exists(entry.path() / "device", ignored) ||
                !HasHardware(entry.path()))
                continue;
            const fs::path device = devDir / name;
            if (IsCharacterDevice(device))
                list.AddString(device.string());
        }
        return;
    }
    for (const auto& entry : fs::directory_iterator(devDir, error)) {
        const std::string name = entry.path().filename().string();
        if (LooksSerial(name) && !name.starts_with("ttyS") && IsCharacterDevice(entry.path()))
            list.AddString(entry.path().string());
    }
}

void FillPortList(StringCollection& list)
{
    FillPortListFrom(list, "/sys/class/tty", "/dev");
}
