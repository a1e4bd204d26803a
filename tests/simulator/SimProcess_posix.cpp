#include "SimProcess_posix.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

extern char** environ;

SimProcess::SimProcess(const std::vector<std::string>& args)
{
    int out[2];
    if (::pipe(out) != 0)
        return;
    std::vector<char*> argv;
    std::string program = DNX8SIM_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    stdout_ = out[0];
    // The first line is the path; it comes at once or never.
    char c = 0;
    pollfd p{stdout_, POLLIN, 0};
    while (pid_ > 0 && ::poll(&p, 1, 5000) == 1 && ::read(stdout_, &c, 1) == 1 && c != '\n')
        linePath_ += c;
}

SimProcess::~SimProcess()
{
    if (pid_ > 0)
        stop(SIGKILL);
    if (stdout_ >= 0)
        ::close(stdout_);
}

int SimProcess::wait(std::chrono::milliseconds within)
{
    const auto end = std::chrono::steady_clock::now() + within;
    while (pid_ > 0) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (std::chrono::steady_clock::now() > end)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
}

int SimProcess::stop(int signal, std::chrono::milliseconds within)
{
    if (pid_ <= 0)
        return -1;
    ::kill(pid_, signal);
    const int status = wait(within);
    if (pid_ > 0) { // did not go: make sure it does
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    return status;
}

LineClient::LineClient(const std::string& path)
{
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (fd_ >= 0 && ::tcgetattr(fd_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
}

LineClient::~LineClient()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void LineClient::send(const std::vector<std::uint8_t>& bytes)
{
    [[maybe_unused]] ssize_t n = ::write(fd_, bytes.data(), bytes.size());
}

std::vector<std::uint8_t> LineClient::receive(std::size_t count, std::chrono::milliseconds quiet)
{
    std::vector<std::uint8_t> got;
    pollfd p{fd_, POLLIN, 0};
    std::uint8_t buffer[256];
    while (got.size() < count && ::poll(&p, 1, static_cast<int>(quiet.count())) == 1) {
        const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0)
            break;
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}
