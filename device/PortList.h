#pragma once

#include "framework/StringCollection.h"

// Adds the name of every serial port the system reports: on Windows the
// values under HKLM\hardware\devicemap\serialcomm (COM1, COM3, ...), on Linux
// the device paths of the machine's serial devices (/dev/ttyS0, /dev/ttyUSB0,
// /dev/ttyACM0, ...). Nothing is added when the system reports none.
void FillPortList(StringCollection& list);
