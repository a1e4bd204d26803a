#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// One request as the server's routes see it, free of the HTTP library.
struct HttpRequest {
    std::string method; // "GET", "POST", ...
    std::string target; // path and query as sent
    // Header fields by lower-case name (a repeated field keeps its last value).
    std::map<std::string, std::string> headers;
    std::string body;
    std::string peer; // the client's address, for the journal

    std::string header(const std::string& lowerCaseName) const
    {
        const auto found = headers.find(lowerCaseName);
        return found == headers.end() ? std::string() : found->second;
    }
};

struct HttpResponse {
    int status = 200;
    std::string contentType;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
};

// An open event stream: text sent as it comes, until either side closes.
class EventSink {
public:
    virtual ~EventSink() = default;
    // Queues text for the client; safe from any thread. A client that falls
    // too far behind is closed rather than letting the queue grow.
    virtual void send(std::string text) = 0;
    // Ends the stream; safe from any thread.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

// The answer to one request, given once: at once or later from another
// thread (a converter's worker), or as the start of an event stream.
class Exchange {
public:
    virtual ~Exchange() = default;
    // Safe from any thread; a client that has gone meanwhile is ignored.
    virtual void respond(HttpResponse response) = 0;
    // Sends the stream's head (status 200, text/event-stream) and turns the
    // connection into the returned sink. Only while handling the request.
    virtual std::shared_ptr<EventSink> openStream(std::vector<std::pair<std::string, std::string>> headers) = 0;
};
