#pragma once

#include "config/BackupFile.h"

// A plain voltage input with both relays set: the file most restore tests
// start from.
inline BackupFile voltageBackup()
{
    BackupFile file;
    Configuration& c = file.configuration;
    c.inputType = 2;
    c.divider = 1;
    c.shunt = 1;
    c.rangeMin = 0;
    c.rangeMax = 10;
    c.curveDegree = 0;
    c.curveCoefficients = CurveCoefficients{};
    c.segmentCount = 0;
    c.filter = 5;
    c.scaleMin = 0;
    c.scaleMax = 100;
    c.errorSignalling = 0;
    c.relay1 = RelaySettings{80, 75, 2, 2, 0};
    c.relay2 = RelaySettings{20, 30, 0, 5, 1};
    return file;
}
