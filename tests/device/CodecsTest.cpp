// Relay record layout, code texts and the port name order.
#include "device/ParameterTexts.h"
#include "device/PortList.h"
#include "device/SerialPort.h"
#include "device/PortNameList.h"
#include "device/RelaySettings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace {

std::vector<std::string> Names(const StringCollection& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i)
        names.emplace_back(list.StringAt(i));
    return names;
}

TEST(RelaySettingsCodec, PackedLittleEndianRecord)
{
    const RelaySettings r{1.5f, 0.5f, 10, 20, 1};
    const RelaySettings::Bytes expected = {0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00,
                                           0x3F, 0x0A, 0x00, 0x14, 0x00, 0x01};
    EXPECT_EQ(r.encode(), expected);
    EXPECT_EQ(RelaySettings::decode(expected.data()), r);

    const RelaySettings wide{-2.0f, 1e6f, 0xABCD, 0x1234, 0};
    EXPECT_EQ(RelaySettings::decode(wide.encode().data()), wide);
    EXPECT_EQ(wide.encode()[8], 0xCD);
    EXPECT_EQ(wide.encode()[9], 0xAB);
}

TEST(ParameterTexts, InputTypeCodes)
{
    using namespace parameter_texts;
    struct Case {
        std::uint8_t code;
        InputKind kind;
        std::string_view text;
    };
    const Case cases[] = {
        {0, InputKind::Voltage, "InA (100 mV)"},
        {2, InputKind::Voltage, "10 V"},
        {3, InputKind::Current, "InA (externí bočník)"},
        {4, InputKind::Current, "20 mA"},
        {5, InputKind::Resistance, "Dvoudrát"},
        {8, InputKind::Resistance, "Čtyřdrát"},
        {10, InputKind::Potentiometer, "Absolutní"},
        {11, InputKind::Potentiometer, "Relativní"},
        {15, InputKind::Thermocouple, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.code));
        const auto d = DescribeInputType(c.code);
        ASSERT_TRUE(d);
        EXPECT_EQ(d->kind, c.kind);
        EXPECT_EQ(d->measurement, c.text);
    }
    EXPECT_FALSE(DescribeInputType(16));
    EXPECT_FALSE(DescribeInputType(255));
    EXPECT_EQ(InputKindTexts[int(InputKind::Thermocouple)], "Termočlánek");
}

TEST(ParameterTexts, FittedOutputAndRelays)
{
    using namespace parameter_texts;
    EXPECT_EQ(OutputTypeText(6), "Pasivní 4 až 20 mA");
    EXPECT_EQ(OutputTypeText(5), "Aktivní 0 až 80 mV");
    EXPECT_EQ(OutputTypeText(255), "Aktivní 0 až 10 V"); // 255 = 42 * 6 + 3
    EXPECT_EQ(RelayOptionsText(7), "Relé 1 a 2");
    EXPECT_EQ(RelayOptionsText(0), "Bez relé");
    EXPECT_EQ(ErrorSignallingTexts[3], "Podle vstupu");
}

TEST(PortNameList, ShorterNamesFirstThenBytesWithoutDuplicates)
{
    PortNameList list;
    EXPECT_EQ(list.Capacity(), 10);
    EXPECT_EQ(list.GrowBy(), 5);
    for (const char* name : {"COM10", "COM2", "COM1", "COM9", "COM2", "\xC8OM1", "COM12"})
        list.AddString(name);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"COM1", "COM2", "COM9", "\xC8OM1", "COM10", "COM12"}));
    EXPECT_EQ(list.IndexOfString("COM10"), 4);
    EXPECT_EQ(list.IndexOfString("COM3"), -1);
}

TEST(PortListRegistry, NameUpToItsNulAndNoneThatFillsTheWholeBuffer)
{
    EXPECT_EQ(RegistryPortName("COM3\0\0\0", 5), "COM3");
    EXPECT_EQ(RegistryPortName("COM3", 4), "COM3"); // a short value without a NUL
    EXPECT_EQ(RegistryPortName("COM1234\0", 8), "COM1234");
    EXPECT_EQ(RegistryPortName("COM12345", 8), std::nullopt);
    EXPECT_EQ(RegistryPortName("\0OM1", 4), std::nullopt);
}

#if defined(_WIN32)
TEST(DevicePath, PrefixesAPortNameOnceAndLeavesAddressesAlone)
{
    EXPECT_EQ(SerialPort::DevicePath("COM3"), "\\\\.\\COM3");
    EXPECT_EQ(SerialPort::DevicePath(SerialPort::DevicePath("COM3")), "\\\\.\\COM3");
    EXPECT_EQ(SerialPort::DevicePath("tcp://10.0.0.5:4001"), "tcp://10.0.0.5:4001");
}
#endif

#if !defined(_WIN32)
TEST(PortListScan, ListsFittedSerialDevicesAsDevicePaths)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("dnx8-ports-" + std::to_string(::getpid()));
    const fs::path sys = root / "sys";
    fs::create_directories(sys);
    auto addTty = [&](const std::string& name, bool device, const char* type) {
        fs::create_directories(sys / name);
        if (device)
            fs::create_directories(sys / name / "device");
        if (type)
            std::ofstream(sys / name / "type") << type << "\n";
    };
    addTty("ttyUSB0", true, nullptr);
    addTty("ttyS0", true, "4");        // a fitted 16550A
    addTty("ttyS1", true, "0");        // a placeholder without hardware
    addTty("tty1", true, nullptr);     // a virtual terminal
    addTty("ttyACM0", false, nullptr); // no driver behind it
    // The device nodes: /dev/null stands in for real character devices.
    const fs::path dev = root / "dev";
    fs::create_directories(dev);
    for (const char* name : {"ttyUSB0", "ttyS0", "ttyS1", "tty1", "ttyACM0"})
        fs::create_symlink("/dev/null", dev / name);

    PortNameList list;
    FillPortListFrom(list, sys, dev);
    EXPECT_EQ(Names(list), (std::vector<std::string>{(dev / "ttyS0").string(), (dev / "ttyUSB0").string()}));

    PortNameList withoutSysfs;
    FillPortListFrom(withoutSysfs, root / "absent", dev);
    EXPECT_EQ(Names(withoutSysfs),
              (std::vector<std::string>{(dev / "ttyACM0").string(), (dev / "ttyUSB0").string()}));
    fs::remove_all(root);
}
#endif

} // namespace
