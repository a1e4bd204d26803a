// dnx8sim: a simulated DNX8 converter on a pseudo-terminal or serial device.

#include "simulator/ControlFifo_posix.h"
#include "simulator/ControlSocket_posix.h"
#include "simulator/LinePlug_posix.h"
#include "simulator/Options.h"
#include "simulator/Presets.h"
#include "simulator/SerialLine_posix.h"
#include "simulator/SimulatorLoop_posix.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

int stopPipe[2] = {-1, -1};

void OnStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(stopPipe[1], &byte, 1);
}

bool InstallSignals()
{
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "dnx8sim: %s\n", message.c_str());
    return 1;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

int main(int argc, char** argv)
{
    sim::Options options;
    const std::string problem =
        sim::ParseOptions(std::span(argv + 1, static_cast<std::size_t>(argc - 1)), options);
    if (!problem.empty())
        return Fail(problem + " (see --help)");
    if (options.help) {
        std::fputs(sim::HelpText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs(sim::VersionText().c_str(), stdout);
        return 0;
    }
    if (!InstallSignals())
        return Fail("cannot set up signal handling");

    sim::SimulatedConverter converter;
    sim::ApplyPreset(options.preset, converter.model.memory);

    std::unique_ptr<std::FILE, FileCloser> trace;
    if (!options.trace.empty()) {
        trace.reset(std::fopen(options.trace.c_str(), "w"));
        if (!trace)
            return Fail(options.trace + ": " + std::strerror(errno));
    }

    std::string error;
    auto line = options.device.empty()
                    ? sim::SerialLine::createPseudoTerminal(error)
                    : sim::SerialLine::openDevice(options.device, options.baud ? options.baud : 9600, error);
    if (!line)
        return Fail(error);

    // Also removes the --link symlink on every way out.
    sim::LinePlug plug(*line, options.link);
    if (!plug.link(error))
        return Fail(error);

    auto fifo = options.control.empty() ? std::nullopt : sim::ControlFifo::open(options.control, error);
    if (!options.control.empty() && !fifo)
        return Fail(error);
    auto socket =
        options.controlSocket.empty() ? std::nullopt : sim::ControlSocket::open(options.controlSocket, error);
    if (!options.controlSocket.empty() && !socket)
        return Fail(error);

    // A real serial device paces itself; only a pseudo-terminal needs help.
    sim::SimulatorLoop loop(*line, converter, options.device.empty() ? options.baud : 0);
    loop.setTrace(trace.get());
    loop.setControlFifo(fifo ? &*fifo : nullptr);
    loop.setControlSocket(socket ? &*socket : nullptr);
    // A real device stays where it is; only a pseudo-terminal can be pulled.
    loop.setLinePlug(options.device.empty() ? &plug : nullptr);
    for (const std::string& command : options.commands) {
        const sim::ControlReply reply = loop.control(command);
        if (!reply.ok)
            return Fail("-c " + command + ": " + reply.error);
        for (const std::string& out : reply.lines)
            std::fprintf(stderr, "%s\n", out.c_str());
    }

    std::printf("%s\n", line->path().c_str());
    std::fflush(stdout);

    return loop.run(stopPipe[0]) ? 0 : Fail("the line failed");
}
