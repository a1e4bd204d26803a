// Fuzz target for the point-file readers: any file content is read, fitted
// and splined without a crash, a failed import leaves the table as it was,
// and the readings see the points of the file rules, worked out apart.
#include "linearization/LinearSpline.h"
#include "linearization/LinearizationTable.h"
#include "linearization/PointReader.h"
#include "linearization/PointSet.h"
#include "linearization/PolynomialFit.h"

#include "PointFileRules.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace {

void CheckPointsAgainstTheRules(const std::filesystem::path& file, std::string_view bytes)
{
    const auto expected = PointsByTheRules(bytes);
    PointSet set;
    readPointSet(file, set);
    if (set.count != static_cast<std::int32_t>(expected.size()))
        std::abort();
    PointReader reader;
    if (!reader.open(file))
        std::abort();
    for (const auto& [x, y] : expected) {
        double readX = 0;
        double readY = 0;
        if (!reader.nextPoint(readX, readY) || std::memcmp(&readX, &x, sizeof x) != 0 ||
            std::memcmp(&readY, &y, sizeof y) != 0)
            std::abort();
    }
    double x = 0;
    double y = 0;
    if (reader.nextPoint(x, y))
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
    CheckPointsAgainstTheRules(file, std::string_view(reinterpret_cast<const char*>(data), size));

    LinearizationTable table;
    const int order = size > 0 ? 1 + data[0] % 9 : 2;
    if (!importPolynomial(file, order, table) && table.hasContent())
        std::abort();
    LinearizationTable spline;
    if (!importSpline(file, spline) && spline.hasContent())
        std::abort();
    return 0;
}
