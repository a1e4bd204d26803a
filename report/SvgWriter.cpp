#include "report/SvgWriter.h"

#include "report/MarkupText.h"

#include <cmath>
#include <cstdio>

std::string svgNumber(double value)
{
    if (!std::isfinite(value))
        value = 0;
    char text[40];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string out = text;
    while (out.back() == '0')
        out.pop_back();
    if (out.back() == '.')
        out.pop_back();
    return out == "-0" ? "0" : out;
}

namespace {

std::string attribute(std::string_view name, double value)
{
    return " " + std::string(name) + "=\"" + svgNumber(value) + "\"";
}

std::string classAttribute(std::string_view cls)
{
    return cls.empty() ? std::string() : " class=\"" + escapeMarkup(cls) + "\"";
}

} // namespace

SvgWriter::SvgWriter(double width, double height, std::string_view css)
    : width(width), height(height), css(css)
{
}

void SvgWriter::line(double x1, double y1, double x2, double y2, std::string_view cls)
{
    body += "<line" + attribute("x1", x1) + attribute("y1", y1) + attribute("x2", x2) + attribute("y2", y2) +
            classAttribute(cls) + "/>\n";
}

void SvgWriter::rect(double x, double y, double w, double h, std::string_view cls)
{
    body += "<rect" + attribute("x", x) + attribute("y", y) + attribute("width", w) + attribute("height", h) +
            classAttribute(cls) + "/>\n";
}

void SvgWriter::circle(double cx, double cy, double r, std::string_view cls)
{
    if (!std::isfinite(cx) || !std::isfinite(cy))
        return;
    body += "<circle" + attribute("cx", cx) + attribute("cy", cy) + attribute("r", r) + classAttribute(cls) +
            "/>\n";
}

void SvgWriter::polyline(const std::vector<Point>& points, std::string_view cls)
{
    std::string run;
    int count = 0;
    const auto flush = [&] {
        if (count >= 2)
            body += "<polyline points=\"" + run + "\"" + classAttribute(cls) + "/>\n";
        run.clear();
        count = 0;
    };
    for (const auto& [x, y] : points) {
        if (!std::isfinite(x) || !std::isfinite(y)) {
            flush();
            continue;
        }
        if (count++ > 0)
            run += ' ';
        run += svgNumber(x) + "," + svgNumber(y);
    }
    flush();
}

void SvgWriter::text(double x, double y, std::string_view content, std::string_view cls, Anchor anchor,
                     bool rotated)
{
    static constexpr std::string_view anchors[] = {"start", "middle", "end"};
    body += "<text" + attribute("x", x) + attribute("y", y) + classAttribute(cls);
    if (anchor != Anchor::Start)
        body += " text-anchor=\"" + std::string(anchors[static_cast<int>(anchor)]) + "\"";
    if (rotated)
        body += " transform=\"rotate(-90 " + svgNumber(x) + " " + svgNumber(y) + ")\"";
    body += ">" + escapeMarkup(content) + "</text>\n";
}

void SvgWriter::beginClip(double x, double y, double w, double h)
{
    const std::string id = "clip" + std::to_string(++clipCount);
    body += "<clipPath id=\"" + id + "\"><rect" + attribute("x", x) + attribute("y", y) +
            attribute("width", w) + attribute("height", h) + "/></clipPath>\n<g clip-path=\"url(#" + id +
            ")\">\n";
}

void SvgWriter::endClip()
{
    body += "</g>\n";
}

std::string SvgWriter::element() const
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\"" + attribute("width", width) +
           attribute("height", height) + " viewBox=\"0 0 " + svgNumber(width) + " " + svgNumber(height) +
           "\">\n<style>" + css + "</style>\n" + body + "</svg>\n";
}

std::string SvgWriter::document() const
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + element();
}
