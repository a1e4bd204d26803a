#include "device/SerialPort.h"

#include "device/TerminalSpeed_posix.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

struct SerialPort::SavedLine {
    termios settings{};
};

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t NoWait = std::numeric_limits<std::uint32_t>::max();

// Bits of the Windows DCB flag word that have a terminal equivalent.
constexpr std::uint32_t FlagParity = 1u << 1;
constexpr std::uint32_t FlagOutxCtsFlow = 1u << 2;
constexpr std::uint32_t FlagOutX = 1u << 8;
constexpr std::uint32_t FlagInX = 1u << 9;

// Time left until deadline in poll's milliseconds; -1 waits without end.
int MillisecondsLeft(const std::optional<Clock::time_point>& deadline)
{
    if (!deadline)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

std::optional<Clock::time_point> DeadlineAfter(std::uint32_t multiplier, std::uint32_t constant,
                                               std::int32_t count)
{
    // Both zero means no total time-out, as with the Windows driver.
    if (multiplier == 0 && constant == 0)
        return std::nullopt;
    const auto ms = std::uint64_t{multiplier} * static_cast<std::uint64_t>(count) + constant;
    return Clock::now() + std::chrono::milliseconds(ms);
}

// Waits for the descriptor to become ready; false when the time is up or the
// line is gone.
bool WaitFor(int fd, short events, int milliseconds)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int r = ::poll(&p, 1, milliseconds);
        if (r < 0 && errno == EINTR)
            continue;
        return r > 0 && (p.revents & events) != 0;
    }
}

} // namespace

SerialPort::SerialPort() = default;

SerialPort::~SerialPort()
{
    close();
}

std::string SerialPort::DevicePath(const std::string& portName)
{
    return portName;
}

bool SerialPort::open(const std::string& devicePath)
{
    close();
    const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Only a terminal device is a port: frames written into an ordinary file
    // would damage it. A port that another program holds is refused (the lock
    // also holds against root, for whom the terminal's own exclusive mode
    // does not).
    if (!::isatty(fd) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    ::ioctl(fd, TIOCEXCL);
    handle = fd;

    auto saved = std::make_unique<SavedLine>();
    ::tcgetattr(fd, &saved->settings);
    termios line = saved->settings;
    savedLine = std::move(saved);

    ::cfmakeraw(&line);
    ::cfsetispeed(&line, TerminalSpeed(baudRate));
    ::cfsetospeed(&line, TerminalSpeed(baudRate));
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    line.c_cflag |= CLOCAL | CREAD;
    line.c_cflag |= byteSize == 5 ? CS5 : byteSize == 6 ? CS6 : byteSize == 7 ? CS7 : CS8;
    if (parity == 1 || parity == 2)
        line.c_cflag |= PARENB | (parity == 1 ? PARODD : 0);
    if (stopBits == 2)
        line.c_cflag |= CSTOPB;
    line.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    if (dcbFlags & FlagParity)
        line.c_iflag |= INPCK;
    if (dcbFlags & FlagOutxCtsFlow)
        line.c_cflag |= CRTSCTS;
    if (dcbFlags & FlagOutX)
        line.c_iflag |= IXON;
    if (dcbFlags & FlagInX)
        line.c_iflag |= IXOFF;
    // Reads never block in the kernel; time-outs are ours.
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    // As on Windows, a line that refuses the settings is still open.
    ::tcsetattr(fd, TCSANOW, &line);
    // DTR and RTS low, as the Windows settings hold them: some isolated
    // adapters draw power from them or key their transmitter with RTS. A
    // line without modem lines (a pseudo-terminal) refuses; that is harmless.
    int modemLines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIC, &modemLines);
    return true;
}

void SerialPort::close()
{
    if (!isOpen())
        return;
    const int fd = static_cast<int>(handle);
    purge(PurgeTxAbort | PurgeRxAbort | PurgeTxClear | PurgeRxClear);
    if (savedLine)
        ::tcsetattr(fd, TCSANOW, &savedLine->settings);
    savedLine.reset();
    ::ioctl(fd, TIOCNXCL);
    ::close(fd); // releases the lock
    handle = InvalidHandle;
}

std::int32_t SerialPort::read(std::uint8_t* buffer, std::int32_t count)
{
    if (!isOpen() || count <= 0)
        return 0;
    const int fd = static_cast<int>(handle);
    const bool returnAtOnce = timeouts.readIntervalTimeout == NoWait &&
                              timeouts.readTotalTimeoutMultiplier == 0 &&
                              timeouts.readTotalTimeoutConstant == 0;
    const auto deadline =
        DeadlineAfter(timeouts.readTotalTimeoutMultiplier, timeouts.readTotalTimeoutConstant, count);
    const bool byteGap = timeouts.readIntervalTimeout != 0 && timeouts.readIntervalTimeout != NoWait;

    std::int32_t got = 0;
    while (got < count) {
        const ssize_t n = ::read(fd, buffer + got, static_cast<std::size_t>(count - got));
        if (n > 0) {
            got += static_cast<std::int32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            break; // the line is gone (a closed pseudo-terminal reports EIO)
        if (returnAtOnce)
            break;
        int wait = MillisecondsLeft(deadline);
        if (byteGap && got > 0 && (wait < 0 || wait > static_cast<int>(timeouts.readIntervalTimeout)))
            wait = static_cast<int>(timeouts.readIntervalTimeout);
        if (wait == 0 || !WaitFor(fd, POLLIN, wait))
            break;
    }
    return got;
}

std::int32_t SerialPort::write(const std::uint8_t* buffer, std::int32_t count)
{
    if (!isOpen() || count <= 0)
        return 0;
    const int fd = static_cast<int>(handle);
    const auto deadline =
        DeadlineAfter(timeouts.writeTotalTimeoutMultiplier, timeouts.writeTotalTimeoutConstant, count);
    std::int32_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, buffer + done, static_cast<std::size_t>(count - done));
        if (n > 0) {
            done += static_cast<std::int32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            break;
        const int wait = MillisecondsLeft(deadline);
        if (wait == 0 || !WaitFor(fd, POLLOUT, wait))
            break;
    }
    return done;
}

void SerialPort::purge(std::uint32_t flags)
{
    if (!isOpen())
        return;
    // Transfers are synchronous, so there is nothing in flight to abort.
    const bool input = (flags & PurgeRxClear) != 0;
    const bool output = (flags & PurgeTxClear) != 0;
    if (input || output)
        ::tcflush(static_cast<int>(handle), input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH);
}
