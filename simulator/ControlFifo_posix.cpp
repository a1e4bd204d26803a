#include "simulator/ControlFifo_posix.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace sim {

ControlFifo::ControlFifo(int fd, int writer, std::string path, bool made)
    : fd_(fd), writer_(writer), path_(std::move(path)), made_(made)
{
}

ControlFifo::ControlFifo(ControlFifo&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), writer_(std::exchange(other.writer_, -1)),
      path_(std::move(other.path_)), made_(std::exchange(other.made_, false)), lines_(std::move(other.lines_))
{
}

ControlFifo::~ControlFifo()
{
    if (writer_ >= 0)
        ::close(writer_);
    if (fd_ >= 0)
        ::close(fd_);
    if (made_)
        ::unlink(path_.c_str());
}

std::optional<ControlFifo> ControlFifo::open(const std::string& path, std::string& error)
{
    bool made = false;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (::mkfifo(path.c_str(), 0600) != 0) {
            error = path + ": " + std::strerror(errno);
            return std::nullopt;
        }
        made = true;
    } else if (!S_ISFIFO(st.st_mode)) {
        error = path + ": exists and is not a FIFO";
        return std::nullopt;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const int writer = fd < 0 ? -1 : ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || writer < 0) {
        error = path + ": " + std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        if (made)
            ::unlink(path.c_str());
        return std::nullopt;
    }
    return ControlFifo(fd, writer, path, made);
}

bool ControlFifo::serve(const ControlHandler& handler)
{
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got <= 0)
            break;
        lines_.append(std::string_view(buffer, static_cast<std::size_t>(got)));
    }
    while (auto line = lines_.next()) {
        const ControlReply reply = handler(*line);
        for (const std::string& out : reply.lines)
            std::printf("%s\n", out.c_str());
        std::fflush(stdout);
        if (!reply.ok)
            std::fprintf(stderr, "dnx8sim: %s\n", reply.error.c_str());
        if (reply.quit)
            return false;
    }
    return true;
}

} // namespace sim
