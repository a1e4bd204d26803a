#include "device/StablePortNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A /dev/serial tree of the test's own: links to stand-in devices.
TEST(StablePortNames, LinksResolveToTheirDeviceAndUnpluggedOnesAreLeftOut)
{
    const fs::path root = fs::temp_directory_path() / ("dnx8-serial-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "by-id");
    fs::create_directories(root / "by-path");
    std::ofstream(root / "ttyUSB0").put('x');
    std::ofstream(root / "ttyUSB1").put('x');
    fs::create_symlink("../ttyUSB1", root / "by-id" / "usb-FTDI_FT232R_B-if00-port0");
    fs::create_symlink("../ttyUSB0", root / "by-id" / "usb-FTDI_FT232R_A-if00-port0");
    fs::create_symlink("../ttyUSB0", root / "by-path" / "pci-0000:00:14.0-usb-0:2:1.0-port0");
    fs::create_symlink("../ttyUSB7", root / "by-id" / "usb-Prolific_gone-if00-port0"); // unplugged

    const std::vector<StablePortName> names = stablePortNames(root);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0].name, (root / "by-id" / "usb-FTDI_FT232R_A-if00-port0").string());
    EXPECT_EQ(names[0].device, fs::canonical(root / "ttyUSB0").string());
    EXPECT_TRUE(names[0].byId);
    EXPECT_EQ(names[1].device, fs::canonical(root / "ttyUSB1").string());
    EXPECT_EQ(names[2].name, (root / "by-path" / "pci-0000:00:14.0-usb-0:2:1.0-port0").string());
    EXPECT_FALSE(names[2].byId);

    EXPECT_TRUE(stablePortNames(root / "missing").empty());
    fs::remove_all(root);
}

} // namespace
