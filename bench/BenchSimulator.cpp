#include "bench/BenchSimulator.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::vector<char*> Argv(const std::string& program, const std::vector<std::string>& args)
{
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    return argv;
}

} // namespace

bool BenchSimulator::start(const std::string& program, const std::vector<std::string>& args)
{
    stop();
    int out[2];
    if (pipe(out) != 0)
        return false;
    const std::vector<char*> argv = Argv(program, args);
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n')
        line_ += c;
    close(out[0]);
    return pid_ > 0 && !line_.empty();
}

void BenchSimulator::stop()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
    line_.clear();
}

int RunProgram(const std::string& program, const std::vector<std::string>& args)
{
    const std::vector<char*> argv = Argv(program, args);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::size_t TracedBytes(const std::string& traceFile)
{
    std::ifstream trace(traceFile);
    std::size_t bytes = 0;
    std::string line;
    while (std::getline(trace, line)) {
        // "0.012345 request 01 3E 01 07 B9": what follows the kind.
        std::istringstream fields(line);
        std::string stamp, kind, hex;
        fields >> stamp >> kind;
        while (fields >> hex)
            ++bytes;
    }
    return bytes;
}

bool RunRealtime()
{
    const sched_param lowest{sched_get_priority_min(SCHED_FIFO)};
    if (sched_setscheduler(0, SCHED_FIFO, &lowest) == 0)
        return true;
    std::perror("--realtime");
    return false;
}
