#include "server/RecordRequest.h"

#include "server/ContentHash.h"

#include <algorithm>
#include <array>

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> percentDecoded(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] != '%') {
            out += text[i];
        } else {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int high = hexDigit(text[i + 1]);
            const int low = hexDigit(text[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        }
    }
    return out;
}

} // namespace

std::optional<RecordParticulars> parseRecordQuery(const std::string& target, std::string& problem)
{
    RecordParticulars particulars;
    const auto question = target.find('?');
    const std::string query = question == std::string::npos ? std::string() : target.substr(question + 1);
    std::array<bool, ParticularsFields.size()> seen{};
    std::size_t start = 0;
    while (start < query.size()) {
        std::size_t end = query.find('&', start);
        if (end == std::string::npos)
            end = query.size();
        const std::string pair = query.substr(start, end - start);
        start = end + 1;
        if (pair.empty())
            continue;
        const auto equals = pair.find('=');
        const std::string name = pair.substr(0, equals);
        const auto field = std::find_if(ParticularsFields.begin(), ParticularsFields.end(),
                                        [&](const RecordParticulars::Field& f) { return name == f.name; });
        if (field == ParticularsFields.end()) {
            problem = "the record takes tag, location, technician and note; \"" + name.substr(0, 40) +
                      "\" is none of them";
            return std::nullopt;
        }
        const auto index = static_cast<std::size_t>(field - ParticularsFields.begin());
        if (seen[index]) {
            problem = name + " is given twice";
            return std::nullopt;
        }
        seen[index] = true;
        std::optional<std::string> value =
            percentDecoded(equals == std::string::npos ? std::string() : pair.substr(equals + 1));
        if (!value) {
            problem = name + " holds a % that is not followed by two hexadecimal digits";
            return std::nullopt;
        }
        if (std::string why = particularsProblem(*field, *value); !why.empty()) {
            problem = name + " " + why;
            return std::nullopt;
        }
        particulars.*field->member = std::move(*value);
    }
    return particulars;
}

std::string recordPagePolicy(const std::string& html)
{
    std::string styles;
    for (std::size_t at = html.find("<style>"); at != std::string::npos; at = html.find("<style>", at)) {
        at += 7;
        const std::size_t end = html.find("</style>", at);
        if (end == std::string::npos)
            break;
        styles += " 'sha256-" + sha256Base64(std::string_view(html).substr(at, end - at)) + "'";
        at = end;
    }
    return "default-src 'none'; style-src" + (styles.empty() ? std::string(" 'none'") : styles) +
           "; img-src 'none'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";
}
