#pragma once

#include "report/CurvePlot.h"

#include <optional>
#include <string>
#include <vector>

class LinearizationTable;
struct ConverterReading;

// The curve a converter applies over its measuring range, for its record:
// the user linearization where the technician gives its point file, the
// recognised thermometer's t(R) or thermocouple's t(E) otherwise, or the
// user polynomial the converter reports. Segments cannot be read back, so
// without the file they are only counted.
struct ConverterCurve {
    std::string heading;
    std::optional<CurvePlot> plot;
    std::vector<std::string> notes;
    bool failed = false; // a read it needed failed: "Chyba komunikace" stands in its place
    bool userTableDiffers = false; // the converter holds another linearization than the given file's
};

// userTable is the import of userFile, or null; the plot refers to it, so
// it must outlive the plot.
ConverterCurve chooseConverterCurve(const ConverterReading& reading, const LinearizationTable* userTable,
                                    const std::string& userFile);
