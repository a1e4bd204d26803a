// Fuzz target for the point-file readers: any file content is read, fitted
// and splined without a crash, a failed import leaves the table as it was,
// and the point reader gives the points of the line-by-line rules.
#include "linearization/LineReader.h"
#include "linearization/LinearSpline.h"
#include "linearization/LinearizationTable.h"
#include "linearization/NumberField.h"
#include "linearization/PointReader.h"
#include "linearization/PointSet.h"
#include "linearization/PolynomialFit.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace {

// The point reader, which reads most lines straight from its buffer, against
// the rules applied one line at a time.
void CheckPointsAgainstTheRules(const std::filesystem::path& file)
{
    PointReader points;
    LineReader lines;
    if (points.open(file) != lines.open(file))
        std::abort();
    std::string_view line;
    while (lines.nextLine(line)) {
        double x = 0;
        double y = 0;
        if (line.empty() || line.front() == ';' || !parseNumber(line, x) || !parseNumber(line, y))
            continue;
        double readX = 0;
        double readY = 0;
        if (!points.nextPoint(readX, readY) || std::memcmp(&readX, &x, sizeof x) != 0 ||
            std::memcmp(&readY, &y, sizeof y) != 0)
            std::abort();
    }
    double x = 0;
    double y = 0;
    if (points.nextPoint(x, y))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("dnx8-pointfile-fuzz-" + std::to_string(getpid()) + ".txt");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    CheckPointsAgainstTheRules(file);
    PointSet points;
    readPointSet(file, points);

    LinearizationTable table;
    const int order = size > 0 ? 1 + data[0] % 9 : 2;
    if (!importPolynomial(file, order, table) && table.hasContent())
        std::abort();
    LinearizationTable spline;
    if (!importSpline(file, spline) && spline.hasContent())
        std::abort();
    return 0;
}
