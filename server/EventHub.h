#pragma once

#include "server/HttpMessage.h"

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// The event streams watching one converter. Events go out as Server-Sent
// Events: "event: NAME", "data: JSON", a blank line.
class EventHub {
public:
    void add(std::shared_ptr<EventSink> sink);
    // Sends to every open stream; closed ones are dropped.
    void publish(std::string_view event, const std::string& json);
    // Sends to one stream only (its first state).
    static void publishTo(EventSink& sink, std::string_view event, const std::string& json);
    // The open streams; a converter is polled while this is not zero.
    std::size_t watchers();
    void closeAll();

private:
    std::mutex mutex;
    std::vector<std::shared_ptr<EventSink>> sinks;
};
