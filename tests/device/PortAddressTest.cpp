#include "device/PortAddress.h"

#include <gtest/gtest.h>

namespace {

PortAddress parsed(const std::string& text)
{
    PortAddress address;
    std::string error;
    EXPECT_TRUE(parsePortAddress(text, address, error)) << text << ": " << error;
    return address;
}

std::string refusal(const std::string& text)
{
    PortAddress address;
    address.local = "untouched";
    std::string error;
    EXPECT_FALSE(parsePortAddress(text, address, error)) << text;
    EXPECT_EQ(address.local, "untouched") << text;
    EXPECT_FALSE(error.empty()) << text;
    return error;
}

TEST(PortAddress, LocalNamesPassThroughAsGiven)
{
    for (const char* name : {"/dev/ttyUSB0", "COM3", "/dev/serial/by-id/usb-FTDI_X-if00-port0", "tcp:x"}) {
        const PortAddress a = parsed(name);
        EXPECT_EQ(a.kind, PortAddress::Kind::Local);
        EXPECT_EQ(a.local, name);
        EXPECT_EQ(a.text(), name);
    }
}

TEST(PortAddress, NetworkAddressesWithNamesIpv4AndBracketedIpv6)
{
    const PortAddress tcp = parsed("tcp://device-server.plant.local:4001");
    EXPECT_EQ(tcp.kind, PortAddress::Kind::Tcp);
    EXPECT_EQ(tcp.host, "device-server.plant.local");
    EXPECT_EQ(tcp.port, 4001);

    const PortAddress telnet = parsed("RFC2217://127.0.0.1:65535/");
    EXPECT_EQ(telnet.kind, PortAddress::Kind::Rfc2217);
    EXPECT_EQ(telnet.host, "127.0.0.1");
    EXPECT_EQ(telnet.port, 65535);
    EXPECT_EQ(telnet.text(), "rfc2217://127.0.0.1:65535");

    const PortAddress v6 = parsed("rfc2217://[::1]:2217");
    EXPECT_EQ(v6.host, "::1");
    EXPECT_EQ(v6.port, 2217);
    EXPECT_EQ(v6.text(), "rfc2217://[::1]:2217");
}

TEST(PortAddress, MalformedAddressesAreRefusedWithAReason)
{
    EXPECT_NE(refusal("").find("empty"), std::string::npos);
    EXPECT_NE(refusal(std::string("/dev/tty\0S0", 11)).find("empty"), std::string::npos);
    EXPECT_NE(refusal("telnet://host:23").find("unknown scheme"), std::string::npos);
    EXPECT_NE(refusal("tcp://host").find("no port"), std::string::npos);
    EXPECT_NE(refusal("tcp://host:").find("no port"), std::string::npos);
    EXPECT_NE(refusal("tcp://host:0").find("1 to 65535"), std::string::npos);
    EXPECT_NE(refusal("tcp://host:65536").find("1 to 65535"), std::string::npos);
    EXPECT_NE(refusal("tcp://host:-1").find("not a port number"), std::string::npos);
    EXPECT_NE(refusal("tcp://host:40x").find("not a port number"), std::string::npos);
    EXPECT_NE(refusal("tcp://:4001").find("no host"), std::string::npos);
    EXPECT_NE(refusal("tcp://::1:4001").find("brackets"), std::string::npos);
    EXPECT_NE(refusal("tcp://[::1:4001").find("bracket"), std::string::npos);
    EXPECT_NE(refusal("tcp://[::1]4001").find("no port"), std::string::npos);
    EXPECT_NE(refusal("tcp://[zz]:4001").find("IPv6"), std::string::npos);
    EXPECT_NE(refusal("tcp://host:4001/port1").find("no path"), std::string::npos);
    EXPECT_NE(refusal("tcp://ho st:4001").find("not a host"), std::string::npos);
}

} // namespace
