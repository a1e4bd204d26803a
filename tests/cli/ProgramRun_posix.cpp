#include "tests/cli/ProgramRun_posix.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

ProgramRun RunDnx8(const std::vector<std::string>& arguments, std::chrono::milliseconds within,
                   const std::function<bool(pid_t)>& during)
{
    bool duringDone = !during;
    ProgramRun run;
    char outName[] = "/tmp/dnx8-test-out-XXXXXX";
    char errName[] = "/tmp/dnx8-test-err-XXXXXX";
    const int out = ::mkstemp(outName);
    const int err = ::mkstemp(errName);
    std::vector<std::string> copies = arguments;
    std::string program = DNX8_PATH;
    std::vector<char*> argv{program.data()};
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out);
    ::close(err);

    while (pid > 0) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        if (!duringDone)
            duringDone = during(pid);
        if (std::chrono::steady_clock::now() - start > within) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    run.elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    run.out = Slurp(outName);
    run.err = Slurp(errName);
    std::remove(outName);
    std::remove(errName);
    return run;
}

std::vector<std::vector<std::uint8_t>> TracedRequests(const std::string& traceFile)
{
    std::vector<std::vector<std::uint8_t>> requests;
    std::ifstream in(traceFile);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string seconds;
        std::string kind;
        words >> seconds >> kind;
        if (kind != "request")
            continue;
        std::vector<std::uint8_t> bytes;
        std::string hex;
        while (words >> hex)
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16)));
        requests.push_back(bytes);
    }
    return requests;
}
