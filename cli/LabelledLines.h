#pragma once

#include <ostream>
#include <string>
#include <vector>

// Plain aligned text for people: "label:" then the value, the values of all
// lines in one column. Widths count characters, not UTF-8 bytes.
class LabelledLines {
public:
    void add(std::string label, std::string value);
    // An empty line between groups.
    void gap();
    void print(std::ostream& out) const;

private:
    struct Line {
        std::string label;
        std::string value;
        bool gap = false;
    };
    std::vector<Line> lines;
};

// Characters in a UTF-8 text.
std::size_t textWidth(const std::string& text);
// text followed by blanks up to width characters.
std::string padRight(const std::string& text, std::size_t width);
