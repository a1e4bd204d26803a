#pragma once

#include "server/CoreCalls.h"
#include "server/EventHub.h"
#include "device/PortTransport.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

enum class ConnectionState { Connecting, Connected, Disconnected };

// The words of the API: "connecting", "connected", "disconnected".
std::string_view stateName(ConnectionState state);

// One served converter: a thread that owns its link and runs every
// transaction of every client in order, polls the live values once a second
// while a stream watches, and after a lost line (a pulled adapter, a silent
// converter) reopens the port with a growing pause until it answers again.
class ConverterWorker {
public:
    // A piece of work on the line; link is null while the converter is not
    // connected. It returns false when a transaction failed: the worker then
    // checks whether the converter still answers.
    using Job = std::function<bool(ConverterLink* link)>;
    // The outcome of the first attempt to connect with the worker's status
    // then, on the worker's thread.
    using FirstResult =
        std::function<void(const ConverterOpening& opening, const std::string& reason, const Json& status)>;

    struct Timing {
        std::chrono::milliseconds pollPeriod{1000};
        std::chrono::milliseconds firstRetry{500};
        std::chrono::milliseconds longestRetry{5000};
    };

    // retry: keep trying after a failed first attempt (ports named at
    // start); otherwise the worker ends when the first attempt fails.
    ConverterWorker(std::string id, std::string port, bool retry, FirstResult firstResult, Timing timing);
    ConverterWorker(std::string id, std::string port, bool retry, FirstResult firstResult);
    ~ConverterWorker();
    ConverterWorker(const ConverterWorker&) = delete;
    ConverterWorker& operator=(const ConverterWorker&) = delete;

    const std::string& id() const { return id_; }
    const std::string& port() const { return port_; }

    // Asks the thread to end: queued jobs run with a null link, the port is
    // closed, streams get the state "disconnected" and are closed.
    void requestStop();
    // requestStop, then waits for the thread (never from the worker itself).
    void stop();
    bool finished() const;

    void submit(Job job);
    // A job that writes to the converter on behalf of client (its address):
    // every write of every client goes this way.
    void submitWrite(const std::string& client, Job job);
    // Adds an event stream and sends it the current state at once.
    void watch(std::shared_ptr<EventSink> sink);
    // Tells every stream what a client changed (parameter names as keys).
    // A change of the input (any key but the scaling, error state and
    // relays) has the input read again, so the status shows it.
    void publishConfiguration(const Json& changed);
    // Also sends this converter's state and live events to overview (the
    // bench's stream), each with the converter's "id"; the live values are
    // polled while overview has a stream too.
    void shareEvents(std::shared_ptr<EventHub> overview);
    // Any other event to every stream (a long write's "progress"), and to the
    // bench's with the converter's "id".
    void publishEvent(std::string_view event, const Json& data);

    // {"id", "port", "state", "identity", "serialNumber", "message",
    //  "input", "live"}: input as a read-all shows it, live the last poll.
    Json status() const;
    ConnectionState state() const;
    std::string identity() const;

private:
    using Clock = std::chrono::steady_clock;

    void run();
    void connect();
    void poll();
    // After a failed transaction: is the converter still there?
    void checkLine();
    void lose(std::string reason);
    void setState(ConnectionState state, std::string message);
    void publishState();
    void publishLive(const Json& event);
    bool watched();
    void readInput();

    const std::string id_;
    const std::string port_;
    const bool retry;
    const Timing timing;
    FirstResult firstResult;

    PortTransport made; // what the port names: its open text (the transport moves into link)
    ConverterLink link; // the worker's thread alone touches it
    EventHub hub;

    mutable std::mutex mutex;
    std::condition_variable wake;
    std::deque<Job> jobs;
    bool stopping = false;
    bool done = false;
    ConnectionState state_ = ConnectionState::Connecting;
    std::string identity_;
    std::optional<std::int32_t> serialNumber;
    std::string message;
    Clock::time_point nextAttempt;
    Clock::time_point nextPoll;
    std::chrono::milliseconds retryPause;
    std::shared_ptr<EventHub> overview;
    Json input;    // null until read
    Json lastLive; // the last poll, null before one
    bool inputStale = false;

    std::thread thread; // last: starts once everything above is ready
};
