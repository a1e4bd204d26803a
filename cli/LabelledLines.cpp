#include "cli/LabelledLines.h"

#include <algorithm>

std::size_t textWidth(const std::string& text)
{
    // Continuation bytes of a multi-byte character are 10xxxxxx.
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string padRight(const std::string& text, std::size_t width)
{
    const std::size_t used = textWidth(text);
    return used >= width ? text : text + std::string(width - used, ' ');
}

void LabelledLines::add(std::string label, std::string value)
{
    lines.push_back({std::move(label), std::move(value), false});
}

void LabelledLines::gap()
{
    lines.push_back({{}, {}, true});
}

void LabelledLines::print(std::ostream& out) const
{
    std::size_t width = 0;
    for (const Line& line : lines)
        width = std::max(width, textWidth(line.label) + 1);
    for (const Line& line : lines) {
        if (line.gap)
            out << '\n';
        else if (line.value.empty())
            out << line.label << ":\n"; // a heading
        else
            out << padRight(line.label + ":", width + 1) << line.value << '\n';
    }
}
