#pragma once

#include <filesystem>
#include <optional>
#include <string>

class LinearizationTable;

// The picture of a fit (an SVG file): the points of the file and the table's
// curve as the converter computes it above, the residual at every point
// below, with the largest one named. A file of many points is drawn with one
// marker per few pixels, so the picture stays small.
// The title names the file; shownName, when given, stands for its name
// (empty: the method alone, for points that came without a file).
std::string fitPlotSvg(const std::filesystem::path& fileName, const LinearizationTable& table,
                       const std::optional<std::string>& shownName = std::nullopt);

// "Aproximační polynom 5. řádu" or "Lineární spline (20 segmentů)", as the
// linearization dialog names the methods.
std::string fitMethodText(const LinearizationTable& table);
