#pragma once

#include "server/HttpMessage.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// The event streams watching one converter. Events go out as Server-Sent
// Events: "event: NAME", "data: JSON", a blank line.
class EventHub {
public:
    // Adds a stream and sends it one event first, made while no other event
    // can go out: a change published meanwhile is either in that first
    // event already or follows it, never lost or overtaken.
    void add(std::shared_ptr<EventSink> sink, std::string_view event, const std::function<std::string()>& json);
    // Sends to every open stream; closed ones are dropped.
    void publish(std::string_view event, const std::string& json);
    // The open streams; a converter is polled while this is not zero.
    std::size_t watchers();
    void closeAll();

private:
    std::mutex mutex;
    std::vector<std::shared_ptr<EventSink>> sinks;
};
