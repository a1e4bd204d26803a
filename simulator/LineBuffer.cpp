#include "simulator/LineBuffer.h"

namespace sim {

void LineBuffer::append(std::string_view bytes)
{
    pending_.append(bytes);
}

std::optional<std::string> LineBuffer::next()
{
    for (;;) {
        const std::size_t end = pending_.find('\n');
        if (end == std::string::npos) {
            if (pending_.size() > MaxLine) {
                pending_.clear();
                overlong_ = true;
            }
            return std::nullopt;
        }
        std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        if (overlong_ || line.size() > MaxLine) {
            overlong_ = false;
            continue;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return line;
    }
}

} // namespace sim
