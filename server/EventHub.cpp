#include "server/EventHub.h"

#include <algorithm>

namespace {

std::string eventText(std::string_view event, const std::string& json)
{
    // JSON from dump() holds no line ends, so one data line carries it.
    return "event: " + std::string(event) + "\ndata: " + json + "\n\n";
}

} // namespace

void EventHub::add(std::shared_ptr<EventSink> sink, std::string_view event, const std::function<std::string()>& json)
{
    std::lock_guard lock(mutex);
    sink->send(eventText(event, json()));
    sinks.push_back(std::move(sink));
}

void EventHub::publish(std::string_view event, const std::string& json)
{
    const std::string text = eventText(event, json);
    std::lock_guard lock(mutex);
    std::erase_if(sinks, [](const auto& sink) { return !sink->isOpen(); });
    for (const auto& sink : sinks)
        sink->send(text);
}

std::size_t EventHub::watchers()
{
    std::lock_guard lock(mutex);
    std::erase_if(sinks, [](const auto& sink) { return !sink->isOpen(); });
    return sinks.size();
}

void EventHub::closeAll()
{
    std::lock_guard lock(mutex);
    for (const auto& sink : sinks)
        sink->close();
    sinks.clear();
}
