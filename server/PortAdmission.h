#pragma once

#include <string>

// Whether a client may have the server open this name as a serial port.
// Opening a device node can have effects of its own (a watchdog, a console),
// so only serial lines are admitted: on Linux a path that leads to a
// serial or pseudo-terminal device, on Windows a bare port name (COM3).
// Empty when admitted, else why not.
std::string portRefusal(const std::string& port);
