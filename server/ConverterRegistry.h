#pragma once

#include "server/ConverterWorker.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The served converters by id. Removed workers are stopped on their own
// threads and joined later, so no request waits for a line to close.
class ConverterRegistry {
public:
    // data: where every worker journals its writes (none in some tests).
    explicit ConverterRegistry(ConverterWorker::Timing timing = {},
                               std::shared_ptr<DataFolder> data = nullptr);
    ~ConverterRegistry();

    // Starts a worker for port; nothing when port is served already.
    std::shared_ptr<ConverterWorker> add(const std::string& port, bool retry,
                                         ConverterWorker::FirstResult firstResult);
    std::shared_ptr<ConverterWorker> find(const std::string& id);
    std::vector<std::shared_ptr<ConverterWorker>> all();
    // Stops the worker and forgets it; false for an unknown id.
    bool remove(const std::string& id);
    // A stream of the whole bench: "converters" (every entry) at once, then
    // every converter's "state" and "live" events (with its "id") and
    // "removed" ({"id"}) when one is no longer served. While it is open every
    // converter is polled.
    void watchAll(std::shared_ptr<EventSink> sink);
    // Stops every worker and waits for them.
    void stopAll();

    // An id that is safe in a URL path: the port's last name with anything
    // but letters, digits, "-" and "_" replaced by "-" ("/dev/ttyUSB0" ->
    // "ttyUSB0", "COM3" -> "COM3").
    static std::string IdFor(const std::string& port);

private:
    void reap();
    void publishRemoved(const std::string& id);

    const ConverterWorker::Timing timing;
    const std::shared_ptr<DataFolder> data;
    std::mutex mutex;
    std::vector<std::shared_ptr<ConverterWorker>> workers;
    std::vector<std::shared_ptr<ConverterWorker>> retired;
    const std::shared_ptr<EventHub> bench = std::make_shared<EventHub>();
};
