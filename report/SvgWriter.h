#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A small SVG picture built element by element, in pixels from the top left.
// Styles go into one inline <style>; nothing refers outside the picture.
class SvgWriter {
public:
    using Point = std::pair<double, double>;
    enum class Anchor { Start, Middle, End };

    SvgWriter(double width, double height, std::string_view css);

    void line(double x1, double y1, double x2, double y2, std::string_view cls);
    void rect(double x, double y, double width, double height, std::string_view cls);
    void circle(double cx, double cy, double r, std::string_view cls);
    // Points that are not finite break the line in two.
    void polyline(const std::vector<Point>& points, std::string_view cls);
    // rotated: turned 90 degrees counter-clockwise around (x, y), for an
    // axis title along the left side.
    void text(double x, double y, std::string_view content, std::string_view cls,
              Anchor anchor = Anchor::Start, bool rotated = false);
    // Elements up to endClip are cut to the rectangle.
    void beginClip(double x, double y, double width, double height);
    void endClip();

    // The <svg> element, to be put inside an HTML page.
    std::string element() const;
    // A file of its own, with the XML declaration.
    std::string document() const;

private:
    double width;
    double height;
    std::string css;
    std::string body;
    int clipCount = 0;
};

// A coordinate as SVG gets it: at most two decimals, no trailing zeros.
std::string svgNumber(double value);
