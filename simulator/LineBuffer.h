#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// Splits a byte stream into lines; a line longer than the limit is dropped
// whole rather than split into commands nobody wrote.
class LineBuffer {
public:
    static constexpr std::size_t MaxLine = 8192;

    void append(std::string_view bytes);
    // The next complete line without its line end.
    std::optional<std::string> next();

private:
    std::string pending_;
    bool overlong_ = false;
};

} // namespace sim
