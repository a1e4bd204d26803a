#include "simulator/SimulatorLoop_posix.h"

#include "device/TraceFormat.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <poll.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif
#include <unistd.h>

namespace sim {

using namespace std::chrono;

SimulatorLoop::SimulatorLoop(SerialLine& line, SimulatedConverter& converter, unsigned paceBaud)
    : line_(line), converter_(converter), interpreter_(converter)
{
    // 10 bits per byte: start, 8 data, stop.
    if (paceBaud != 0) {
        byteTime_ = duration_cast<Clock::duration>(duration<double>(10.0 / paceBaud));
#if defined(__linux__)
        // A paced byte is due every millisecond or so; the kernel's default
        // 50 us of timer slack would make each reply late by that much.
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
    }
}

double SimulatorLoop::seconds() const
{
    return duration<double>(Clock::now() - start_).count();
}

ControlReply SimulatorLoop::control(const std::string& line)
{
    ControlReply reply = interpreter_.execute(line, seconds());
    quit_ = quit_ || reply.quit;
    if (reply.ok && reply.line != LineChange::None)
        changeLine(reply);
    return reply;
}

void SimulatorLoop::changeLine(ControlReply& reply)
{
    std::string error;
    if (!plug_) {
        error = "only a pseudo-terminal can be closed and opened";
    } else if (reply.line == LineChange::Close) {
        // What was under way goes with the line.
        trace(protocol::TraceKind::Noise, converter_.quiet());
        lastByte_.reset();
        outgoing_.clear();
        inboundFree_ = outboundFree_ = Clock::time_point{};
        plug_->pull();
    } else if (plug_->plug(error)) {
        reply.lines.push_back(line_.path());
    }
    if (!error.empty()) {
        reply.ok = false;
        reply.error = error;
    }
}

void SimulatorLoop::trace(protocol::TraceKind kind, std::span<const std::uint8_t> bytes)
{
    if (!trace_ || bytes.empty())
        return;
    const std::string text = protocol::traceLine(seconds(), kind, bytes) + '\n';
    std::fputs(text.c_str(), trace_);
    std::fflush(trace_);
}

std::optional<SimulatorLoop::Clock::duration> SimulatorLoop::timeout() const
{
    std::optional<Clock::time_point> wake;
    if (!outgoing_.empty())
        wake = outgoing_.front().due;
    if (lastByte_)
        wake = std::min(wake.value_or(*lastByte_ + QuietGap), *lastByte_ + QuietGap);
    if (!wake)
        return std::nullopt;
    return std::clamp<Clock::duration>(*wake - Clock::now(), Clock::duration::zero(),
                                       std::chrono::seconds(60));
}

void SimulatorLoop::schedule(const Exchange& exchange, Clock::time_point requestEnd)
{
    if (exchange.reply.bytes.empty())
        return; // silence
    Outgoing out{exchange.reply.bytes, 0, requestEnd + exchange.reply.delay};
    if (byteTime_) {
        // The line carries one reply at a time, and a byte is in the tool's
        // hands only once its stop bit is through: the first byte is handed
        // over one byte time after the reply starts.
        const Clock::time_point start = std::max(out.due, outboundFree_);
        out.due = start + *byteTime_;
        outboundFree_ = start + *byteTime_ * out.bytes.size();
    } else if (!outgoing_.empty()) {
        out.due = std::max(out.due, outgoing_.back().due);
    }
    outgoing_.push_back(std::move(out));
}

bool SimulatorLoop::readLine()
{
    std::uint8_t buffer[512];
    for (;;) {
        const ssize_t got = ::read(line_.fd(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        if (got <= 0)
            return false;
        const Clock::time_point now = Clock::now();
        for (ssize_t i = 0; i < got; ++i) {
            // The tool's write lands here at once; on a paced line each byte
            // arrives only after its 10 bit times, one after the other.
            Clock::time_point arrived = now;
            if (byteTime_) {
                inboundFree_ = std::max(inboundFree_, now) + *byteTime_;
                arrived = inboundFree_;
            }
            lastByte_ = arrived;
            for (const Exchange& exchange : converter_.receive(std::span(buffer + i, 1), seconds())) {
                trace(protocol::TraceKind::Noise, exchange.noise);
                trace(protocol::TraceKind::Request, exchange.request);
                schedule(exchange, arrived);
            }
        }
    }
}

void SimulatorLoop::sendDue()
{
    while (!outgoing_.empty() && outgoing_.front().due <= Clock::now()) {
        Outgoing& out = outgoing_.front();
        const std::size_t chunk = byteTime_ ? 1 : out.bytes.size() - out.sent;
        const ssize_t n = ::write(line_.fd(), out.bytes.data() + out.sent, chunk);
        if (n < 0 && errno != EINTR) {
            // Nobody reads the line: try again shortly rather than spin.
            out.due = Clock::now() + milliseconds(10);
            return;
        }
        if (n > 0)
            out.sent += static_cast<std::size_t>(n);
        if (byteTime_)
            out.due += *byteTime_;
        if (out.sent == out.bytes.size()) {
            trace(protocol::TraceKind::Reply, out.bytes);
            outgoing_.pop_front();
        }
    }
}

bool SimulatorLoop::run(int stopFd)
{
    const bool ok = serve(stopFd);
    // Bytes still waiting for a frame belong in the trace too.
    trace(protocol::TraceKind::Noise, converter_.quiet());
    return ok;
}

bool SimulatorLoop::serve(int stopFd)
{
    const ControlHandler handler = [this](const std::string& line) { return control(line); };
    std::vector<pollfd> fds;
    while (!quit_) {
        fds.clear();
        fds.push_back({stopFd, POLLIN, 0});
        fds.push_back({line_.fd(), POLLIN, 0});
        if (fifo_)
            fds.push_back({fifo_->fd(), POLLIN, 0});
        if (socket_)
            socket_->watch(fds);
        // ppoll: a paced byte is due every 1.04 ms, finer than poll's milliseconds.
        const std::optional<Clock::duration> wait = timeout();
        timespec until{};
        if (wait) {
            const auto ns = duration_cast<nanoseconds>(*wait).count();
            until.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
            until.tv_nsec = static_cast<long>(ns % 1'000'000'000);
        }
        const int ready = ::ppoll(fds.data(), fds.size(), wait ? &until : nullptr, nullptr);
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready > 0 && fds[0].revents)
            return true;
        // Control first: a change written before a request applies to it.
        if (fifo_ && !fifo_->serve(handler))
            return true;
        if (socket_ && ready > 0 && !socket_->serve(fds, handler))
            return true;
        // A control line may have closed the line since the poll.
        if (ready > 0 && line_.fd() >= 0 && (fds[1].revents & (POLLIN | POLLERR | POLLHUP)) && !readLine())
            return false;
        if (lastByte_ && Clock::now() >= *lastByte_ + QuietGap) {
            trace(protocol::TraceKind::Noise, converter_.quiet());
            lastByte_.reset();
        }
        sendDue();
    }
    return true;
}

} // namespace sim
