#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

// dnx8sim started as a child process, with the path of its line.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args);
    ~SimProcess();

    bool started() const { return pid_ > 0 && !linePath_.empty(); }
    const std::string& linePath() const { return linePath_; }
    pid_t pid() const { return pid_; }

    // Sends the signal and waits; the exit status, or -1 when it did not
    // exit normally within the time.
    int stop(int signal, std::chrono::milliseconds within = std::chrono::seconds(5));
    // Waits for an exit without a signal; -1 if none within the time.
    int wait(std::chrono::milliseconds within);

private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    std::string linePath_;
};

// The tool's end of the line: raw, as the link opens it.
class LineClient {
public:
    explicit LineClient(const std::string& path);
    ~LineClient();

    bool isOpen() const { return fd_ >= 0; }
    void send(const std::vector<std::uint8_t>& bytes);
    // Reads until `count` bytes came or the line stayed quiet for `quiet`.
    std::vector<std::uint8_t> receive(std::size_t count,
                                      std::chrono::milliseconds quiet = std::chrono::milliseconds(1000));

private:
    int fd_ = -1;
};
