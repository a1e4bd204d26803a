#pragma once

#include "device/TraceFormat.h"
#include "simulator/ControlFifo_posix.h"
#include "simulator/ControlInterpreter.h"
#include "simulator/ControlSocket_posix.h"
#include "simulator/LinePlug_posix.h"
#include "simulator/SerialLine_posix.h"
#include "simulator/SimulatedConverter.h"

#include <chrono>
#include <cstdio>
#include <deque>
#include <optional>

namespace sim {

// Serves the line and the control channels until told to stop.
class SimulatorLoop {
public:
    using Clock = std::chrono::steady_clock;
    // A frame left unfinished this long is given up.
    static constexpr std::chrono::milliseconds QuietGap{100};

    SimulatorLoop(SerialLine& line, SimulatedConverter& converter, unsigned paceBaud);

    void setTrace(std::FILE* trace) { trace_ = trace; }
    void setControlFifo(ControlFifo* fifo) { fifo_ = fifo; }
    void setControlSocket(ControlSocket* socket) { socket_ = socket; }
    // Lets control lines close and open the line; without it they are refused.
    void setLinePlug(LinePlug* plug) { plug_ = plug; }

    double seconds() const;
    ControlReply control(const std::string& line);

    // Returns when `stopFd` becomes readable or a control line says quit;
    // false on a failure of the line.
    bool run(int stopFd);

private:
    struct Outgoing {
        std::vector<std::uint8_t> bytes;
        std::size_t sent = 0;
        Clock::time_point due;
    };

    bool serve(int stopFd);
    // Time until the next thing to do; empty when there is none.
    std::optional<Clock::duration> timeout() const;
    bool readLine();
    // requestEnd: when the request's last byte has arrived.
    void schedule(const Exchange& exchange, Clock::time_point requestEnd);
    void sendDue();
    void trace(protocol::TraceKind kind, std::span<const std::uint8_t> bytes);
    void changeLine(ControlReply& reply);

    SerialLine& line_;
    SimulatedConverter& converter_;
    ControlInterpreter interpreter_;
    std::FILE* trace_ = nullptr;
    ControlFifo* fifo_ = nullptr;
    ControlSocket* socket_ = nullptr;
    LinePlug* plug_ = nullptr;
    const Clock::time_point start_ = Clock::now();
    std::optional<Clock::duration> byteTime_; // set when paced
    // Paced line: when the last byte read, and the last byte queued, will
    // have crossed the wire.
    Clock::time_point inboundFree_{};
    Clock::time_point outboundFree_{};
    std::deque<Outgoing> outgoing_;
    std::optional<Clock::time_point> lastByte_; // set while unframed bytes may be pending
    bool quit_ = false;
};

} // namespace sim
