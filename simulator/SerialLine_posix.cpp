#include "simulator/SerialLine_posix.h"

#include "device/TerminalSpeed_posix.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace sim {
namespace {

std::string Reason(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

bool MakeRaw(int fd, speed_t speed)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    // With O_NONBLOCK an empty line then reads as EAGAIN, and 0 means hang-up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

} // namespace

SerialLine::SerialLine(int fd, int keepOpen, std::string path)
    : fd_(fd), keepOpen_(keepOpen), path_(std::move(path))
{
}

SerialLine::SerialLine(SerialLine&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), keepOpen_(std::exchange(other.keepOpen_, -1)),
      path_(std::move(other.path_))
{
}

SerialLine& SerialLine::operator=(SerialLine&& other) noexcept
{
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        keepOpen_ = std::exchange(other.keepOpen_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

SerialLine::~SerialLine()
{
    close();
}

void SerialLine::close()
{
    if (keepOpen_ >= 0)
        ::close(std::exchange(keepOpen_, -1));
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
}

std::optional<SerialLine> SerialLine::createPseudoTerminal(std::string& error)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) {
        error = Reason("posix_openpt");
        return std::nullopt;
    }
    const char* name = nullptr;
    if (grantpt(master) != 0 || unlockpt(master) != 0 || (name = ptsname(master)) == nullptr) {
        error = Reason("pseudo-terminal");
        ::close(master);
        return std::nullopt;
    }
    std::string path = name;
    const int slave = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    // Raw before any client can write: no echo, no line editing, no CR/LF games.
    if (slave < 0 || !MakeRaw(slave, B9600) || fcntl(master, F_SETFL, O_NONBLOCK) != 0) {
        error = Reason(path.c_str());
        if (slave >= 0)
            ::close(slave);
        ::close(master);
        return std::nullopt;
    }
    return SerialLine(master, slave, std::move(path));
}

std::optional<SerialLine> SerialLine::openDevice(const std::string& path, unsigned baud, std::string& error)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0 || !MakeRaw(fd, TerminalSpeed(baud))) {
        error = Reason(path.c_str());
        if (fd >= 0)
            ::close(fd);
        return std::nullopt;
    }
    return SerialLine(fd, -1, path);
}

} // namespace sim
