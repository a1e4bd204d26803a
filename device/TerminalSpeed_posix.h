#pragma once

#include <termios.h>

#include <cstdint>

// The terminal speed constant for a line speed in bits per second; speeds
// without one fall back to the converter's 9600.
inline speed_t TerminalSpeed(std::uint32_t baudRate)
{
    switch (baudRate) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B9600;
    }
}
