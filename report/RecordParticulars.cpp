#include "report/RecordParticulars.h"

#include "report/MarkupText.h"

#include <vector>

namespace {

bool isControl(unsigned char lead, unsigned char second)
{
    return lead < 0x20 || lead == 0x7F || (lead == 0xC2 && second < 0xA0); // C0, DEL, C1
}

std::string trimmed(const std::string& line)
{
    const auto first = line.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

} // namespace

std::string particularsProblem(const RecordParticulars::Field& field, std::string& text)
{
    // Lines as given (CR LF, CR or LF), each checked character by character.
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead == '\r' || lead == '\n') {
            i += lead == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
            if (field.maxLines < 2)
                return "is one line; it holds a line break";
            lines.emplace_back();
            continue;
        }
        std::size_t length = 1;
        if (lead >= 0x80) {
            length = utf8SequenceLength(text, i);
            if (length == 0)
                return "is no UTF-8 text (byte " + std::to_string(i + 1) + ")";
        }
        const auto second = length > 1 ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (isControl(lead, second))
            return "holds a control character (at byte " + std::to_string(i + 1) + ")";
        lines.back().append(text, i, length);
        i += length;
    }
    // Blank lines at either end carry nothing; inner ones are kept.
    std::string tidy;
    std::size_t first = 0;
    std::size_t last = lines.size();
    while (first < last && trimmed(lines[first]).empty())
        ++first;
    while (last > first && trimmed(lines[last - 1]).empty())
        --last;
    for (std::size_t k = first; k < last; ++k)
        tidy += (k == first ? "" : "\n") + trimmed(lines[k]);
    if (last - first > field.maxLines)
        return "has " + std::to_string(last - first) + " lines; at most " + std::to_string(field.maxLines) +
               " fit on the record";
    std::size_t characters = 0; // line breaks count too: each takes room
    for (char c : tidy)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (characters > field.maxCharacters)
        return "has " + std::to_string(characters) + " characters; at most " +
               std::to_string(field.maxCharacters) + " fit on the record";
    text = std::move(tidy);
    return {};
}
