#include "simulator/ControlSocket_posix.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace sim {
namespace {

void WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

} // namespace

ControlSocket::ControlSocket(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

ControlSocket::ControlSocket(ControlSocket&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)), clients_(std::move(other.clients_))
{
}

ControlSocket::~ControlSocket()
{
    for (Client& c : clients_)
        ::close(c.fd);
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
}

std::optional<ControlSocket> ControlSocket::open(const std::string& path, std::string& error)
{
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        error = path + ": socket path too long";
        return std::nullopt;
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode)) {
            error = path + ": exists and is not a socket";
            return std::nullopt;
        }
        ::unlink(path.c_str());
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 8) != 0) {
        error = path + ": " + std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return std::nullopt;
    }
    return ControlSocket(fd, path);
}

void ControlSocket::watch(std::vector<pollfd>& fds) const
{
    fds.push_back({fd_, POLLIN, 0});
    for (const Client& c : clients_)
        fds.push_back({c.fd, POLLIN, 0});
}

bool ControlSocket::serveClient(Client& client, const ControlHandler& handler, bool& open)
{
    char buffer[4096];
    const ssize_t got = ::recv(client.fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
        open = false;
    if (got > 0)
        client.lines.append(std::string_view(buffer, static_cast<std::size_t>(got)));
    while (auto line = client.lines.next()) {
        const ControlReply reply = handler(*line);
        std::string text;
        for (const std::string& out : reply.lines)
            text += out + '\n';
        text += reply.ok ? std::string("ok\n") : "error: " + reply.error + '\n';
        WriteAll(client.fd, text);
        if (reply.quit)
            return false;
    }
    return true;
}

bool ControlSocket::serve(const std::vector<pollfd>& fds, const ControlHandler& handler)
{
    auto ready = [&](int fd) {
        return std::any_of(fds.begin(), fds.end(), [fd](const pollfd& p) { return p.fd == fd && p.revents; });
    };
    bool keepRunning = true;
    for (auto it = clients_.begin(); it != clients_.end();) {
        bool open = true;
        if (ready(it->fd))
            keepRunning = serveClient(*it, handler, open) && keepRunning;
        if (open) {
            ++it;
        } else {
            ::close(it->fd);
            it = clients_.erase(it);
        }
    }
    if (ready(fd_)) {
        const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0)
            clients_.push_back({client, {}});
    }
    return keepRunning;
}

} // namespace sim
