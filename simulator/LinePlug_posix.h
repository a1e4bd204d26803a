#pragma once

#include "simulator/SerialLine_posix.h"

#include <string>

namespace sim {

// Pulls and plugs the pseudo-terminal as one would a USB adapter. Pulled,
// the line is hung up and the link path is gone; plugged again, the line is
// a new pseudo-terminal with a new path, and the link points at it.
class LinePlug {
public:
    // No link is kept when `link` is empty.
    LinePlug(SerialLine& line, std::string link);
    LinePlug(const LinePlug&) = delete;
    LinePlug& operator=(const LinePlug&) = delete;
    ~LinePlug();

    // Points the link at the line; false and a reason in `error` when it
    // cannot, or when the path names something other than a symlink (a
    // device or a file there is never replaced).
    bool link(std::string& error);
    bool plugged() const { return line_.fd() >= 0; }
    void pull();
    // A new pseudo-terminal in place of a pulled one; nothing when plugged.
    bool plug(std::string& error);

private:
    SerialLine& line_;
    std::string link_;
    bool made_ = false; // the link is ours to remove
};

} // namespace sim
