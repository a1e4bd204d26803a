#pragma once

#include <filesystem>
#include <string>

class LinearizationTable;

// The picture of a fit (an SVG file): the points of the file and the table's
// curve as the converter computes it above, the residual at every point
// below, with the largest one named. A file of many points is drawn with one
// marker per few pixels, so the picture stays small.
std::string fitPlotSvg(const std::filesystem::path& fileName, const LinearizationTable& table);

// "Aproximační polynom 5. řádu" or "Lineární spline (20 segmentů)", as the
// linearization dialog names the methods.
std::string fitMethodText(const LinearizationTable& table);
