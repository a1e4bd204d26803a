#include "simulator/LinePlug_posix.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace sim {

LinePlug::LinePlug(SerialLine& line, std::string link) : line_(line), link_(std::move(link)) {}

LinePlug::~LinePlug()
{
    if (made_)
        ::unlink(link_.c_str());
}

bool LinePlug::link(std::string& error)
{
    if (link_.empty())
        return true;
    struct stat st {};
    if (::lstat(link_.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        error = link_ + ": exists and is not a symlink";
        return false;
    }
    // Made beside it and renamed over it: whoever follows the link finds the
    // old line or the new one, never nothing.
    const std::string fresh = link_ + ".new";
    ::unlink(fresh.c_str());
    if (::symlink(line_.path().c_str(), fresh.c_str()) != 0 || ::rename(fresh.c_str(), link_.c_str()) != 0) {
        error = link_ + ": " + std::strerror(errno);
        ::unlink(fresh.c_str());
        return false;
    }
    made_ = true;
    return true;
}

void LinePlug::pull()
{
    line_.close();
    // Like the device node of an adapter that is gone.
    if (made_)
        ::unlink(link_.c_str());
}

bool LinePlug::plug(std::string& error)
{
    if (plugged())
        return true;
    auto fresh = SerialLine::createPseudoTerminal(error);
    if (!fresh)
        return false;
    line_ = std::move(*fresh);
    return link(error);
}

} // namespace sim
