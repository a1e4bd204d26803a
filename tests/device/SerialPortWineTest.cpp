// The Win32 serial port and port list under Wine. COM29 is the pseudo-terminal
// of a dnx8sim in its voltage preset, with the faults listed in
// wine_serial_test.sh: FirmwareVersion silent, InputType refused, LiveInput
// pinned to 2.5 with its first reply's checksum broken, and the first
// LiveValue reply longer than any frame.
#include "device/ConverterLink.h"
#include "device/PortList.h"
#include "device/PortNameList.h"
#include "device/SerialPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <limits>
#include <memory>
#include <windows.h>

namespace {

constexpr const char* PortName = "COM29";
using Clock = std::chrono::steady_clock;

std::unique_ptr<SerialPort> ConverterPort()
{
    auto port = std::make_unique<SerialPort>();
    port->timeouts.readTotalTimeoutConstant = 200;
    port->timeouts.writeTotalTimeoutConstant = 100;
    return port;
}

TEST(Win32SerialPort, OpensWithTheConverterLineSettings)
{
    auto port = ConverterPort();
    ASSERT_TRUE(port->open(SerialPort::DevicePath(PortName)));
    const HANDLE h = reinterpret_cast<HANDLE>(port->handle);

    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    ASSERT_TRUE(GetCommState(h, &dcb));
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.fBinary, 1u);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
    // (DTR and RTS control read back from a pseudo-terminal's modem lines,
    // which it does not have, so they are not checked here.)

    COMMTIMEOUTS t{};
    ASSERT_TRUE(GetCommTimeouts(h, &t));
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 200u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 100u);
    EXPECT_EQ(t.ReadIntervalTimeout, 0u);

    // Wine does not refuse a second open of a serial device, so exclusive
    // use is only checked by the POSIX backend's tests; closing and opening
    // again must work here.
    port->close();
    EXPECT_FALSE(port->isOpen());
    port->close();
    SerialPort second;
    EXPECT_TRUE(second.open(SerialPort::DevicePath(PortName)));
}

// Bytes waiting in the port's input queue.
DWORD InputQueue(const SerialPort& port)
{
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(reinterpret_cast<HANDLE>(port.handle), &errors, &status))
        return MAXDWORD;
    return status.cbInQue;
}

TEST(Win32SerialPort, LinkTransactionsReachTheConverter)
{
    ConverterLink link;
    ASSERT_TRUE(link.open(PortName));
    EXPECT_EQ(link.identify(), "DNX8");

    // Filter writes discard the echo; the stored value reads back clipped.
    EXPECT_TRUE(link.writeFilter(40));
    std::uint8_t filter = 0;
    ASSERT_TRUE(link.readFilter(filter));
    EXPECT_EQ(filter, 30);

    // A real that is not a number leaves the stored scale end, and the echo
    // hands that back.
    float scale = std::numeric_limits<float>::quiet_NaN();
    ASSERT_TRUE(link.writeScaleMax(scale));
    EXPECT_EQ(scale, 100.0f);

    std::uint8_t signalling = 9;
    ASSERT_TRUE(link.writeErrorSignalling(signalling));
    EXPECT_EQ(signalling, 3);

    CurveCoefficients curve{};
    curve[0] = -1.5f;
    curve[9] = 3.25e-7f;
    ASSERT_TRUE(link.writeCurveCoefficients(curve));
    CurveCoefficients back{};
    ASSERT_TRUE(link.readCurveCoefficients(back));
    EXPECT_EQ(back, curve);

    std::uint8_t input = 7;
    EXPECT_FALSE(link.readInputType(input)); // negative reply
    EXPECT_EQ(input, 7);
}

TEST(Win32SerialPort, SilenceTimesOutAndABrokenReplyIsPurged)
{
    auto owned = ConverterPort();
    const SerialPort& port = *owned;
    ConverterLink link(std::move(owned));
    ASSERT_TRUE(link.open(PortName));

    std::uint16_t version = 0x0101;
    const auto start = Clock::now();
    EXPECT_FALSE(link.readFirmwareVersion(version));
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_GE(elapsed, 150);
    EXPECT_LT(elapsed, 1000);
    EXPECT_EQ(version, 0x0101);

    float value = 0.0f;
    EXPECT_FALSE(link.readLiveInput(value)); // bad checksum
    EXPECT_EQ(value, 0.0f);
    ASSERT_TRUE(link.readLiveInput(value));
    EXPECT_EQ(value, 2.5f);

    // The link gives up on the length byte of an overlong reply while its
    // data is still queued; only a purge keeps that out of the next
    // transaction.
    value = 0.0f;
    EXPECT_FALSE(link.readLiveValue(value));
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(InputQueue(port), 0u);
    ASSERT_TRUE(link.readLiveInput(value));
    EXPECT_EQ(value, 2.5f);
}

class Win32PortList : public ::testing::Test {
protected:
    static constexpr const char* Key = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
    const std::string longName = "DnxTest" + std::string(70, 'N');
    HKEY key = nullptr;

    void SetUp() override
    {
        ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, Key, &key), ERROR_SUCCESS);
        set("DnxTestA", "COM29");
        set("DnxTestB", "COM7");
        set("DnxTestC", "COM7");        // the same port twice
        set("DnxTestLong", "COM12345"); // does not fit 8 bytes with its NUL
        set(longName.c_str(), "COM8");  // value name does not fit 64 bytes
    }

    void TearDown() override
    {
        for (const char* name : {"DnxTestA", "DnxTestB", "DnxTestC", "DnxTestLong", longName.c_str()})
            RegDeleteValueA(key, name);
        RegCloseKey(key);
    }

    void set(const char* name, const char* data)
    {
        ASSERT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                                 static_cast<DWORD>(std::strlen(data) + 1)),
                  ERROR_SUCCESS);
    }
};

TEST_F(Win32PortList, ListsRegistryPortsShortestFirstSkippingOversizeValues)
{
    PortNameList list;
    FillPortList(list);
    const int com7 = list.IndexOfString("COM7");
    const int com29 = list.IndexOfString("COM29");
    ASSERT_GE(com7, 0);
    ASSERT_GE(com29, 0);
    EXPECT_LT(com7, com29);
    EXPECT_EQ(list.IndexOfString("COM8"), -1);
    for (int i = 0; i < list.Count(); ++i) {
        SCOPED_TRACE(list.StringAt(i));
        EXPECT_LE(std::strlen(list.StringAt(i)), 7u);
        if (i > 0) {
            EXPECT_LT(list.Compare(list.StringAt(i - 1), list.StringAt(i)), 0);
        }
    }
}

} // namespace
