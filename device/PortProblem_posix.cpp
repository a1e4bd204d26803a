#include "device/PortProblem.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string groupAdvice(const struct stat& device)
{
    const group* owner = ::getgrgid(device.st_gid);
    if (owner == nullptr || (device.st_mode & S_IRWXG) == 0)
        return "permission denied; ask an administrator for access to the device";
    const std::string name = owner->gr_name;
    return "permission denied; members of the group " + name + " may use it (sudo usermod -aG " + name +
           " $USER, then log in again)";
}

} // namespace

std::string portOpenProblem(const std::string& portName)
{
    struct stat device {};
    if (::stat(portName.c_str(), &device) != 0)
        return errno == EACCES ? "permission denied on the path to it" : "no such device";
    if (S_ISDIR(device.st_mode))
        return "it is a folder, not a serial port";
    if (!S_ISCHR(device.st_mode))
        return "it is not a terminal device (a file or a pipe is no serial port)";
    const int fd = ::open(portName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        switch (errno) {
        case EACCES:
        case EPERM:
            return groupAdvice(device);
        case EBUSY:
            return "held by another program (config.exe, another dnx8, a modem manager)";
        case ENOENT:
        case ENXIO:
        case ENODEV:
            return "no such device (the adapter is unplugged or its driver is missing)";
        default:
            return std::strerror(errno);
        }
    }
    std::string problem;
    if (!::isatty(fd))
        problem = "it is not a terminal device";
    else if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        problem = "held by another program (config.exe, another dnx8, a modem manager)";
    else
        problem = "it could not be set up as a serial line";
    ::close(fd);
    return problem;
}
