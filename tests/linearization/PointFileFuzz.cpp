// Fuzz target for the point-file readers: any file content is read, fitted
// and splined without a crash, and a failed import leaves the table as it was.
#include "linearization/LinearSpline.h"
#include "linearization/LinearizationTable.h"
#include "linearization/PointSet.h"
#include "linearization/PolynomialFit.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("dnx8-pointfile-fuzz-" + std::to_string(getpid()) + ".txt");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
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
