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

class DataFolder;

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
    // Why a write was refused before anything was sent: its as-found copy
    // could not be read (communication) or saved, or the journal cannot be
    // written.
    struct WriteRefusal {
        bool communication = false;
        std::string message;
    };

    // data: where writes are journalled and as-found copies kept (none in
    // some tests).
    ConverterWorker(std::string id, std::string port, bool retry, FirstResult firstResult, Timing timing,
                    std::shared_ptr<DataFolder> data = nullptr);
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
    // every write of every client goes this way. Before the first write to
    // a converter (by serial number) its configuration is saved as found;
    // when that fails, or the journal cannot be written, the job runs with a
    // null link and writeRefusal() says why. Every data-carrying request is
    // journalled with client.
    void submitWrite(const std::string& client, Job job);
    // While a job given a null link runs: why its write was refused, if it
    // was (else the converter is not connected).
    const std::optional<WriteRefusal>& writeRefusal() const { return refusal; }
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
    // Saves the as-found copy unless this converter has one; false with
    // refusal set.
    bool prepareWrite(ConverterLink& link);
    void journal(const LinkWrite& write);

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

    // The worker's thread alone touches these.
    const std::shared_ptr<DataFolder> data;
    std::string writer;                     // the client of the write under way
    std::optional<WriteRefusal> refusal;    // set while a refused job runs
    std::optional<std::int32_t> asFoundOf;  // the converter whose copy is saved
    std::optional<std::int32_t> lastSerial; // the last one that answered on the port

    std::thread thread; // last: starts once everything above is ready
};
