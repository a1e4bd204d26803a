#include "device/TracingTransport.h"

#include "framework/NumberText.h"

#include <cstdio>
#include <string>

TracingTransport::TracingTransport(std::unique_ptr<ByteTransport> transport, std::ostream& stream)
    : port(std::move(transport)), out(stream)
{
}

TracingTransport::~TracingTransport()
{
    flushReply();
}

bool TracingTransport::open(const std::string& devicePath)
{
    return port->open(devicePath);
}

void TracingTransport::close()
{
    flushReply();
    port->close();
}

std::int32_t TracingTransport::read(std::uint8_t* buffer, std::int32_t count)
{
    const std::int32_t got = port->read(buffer, count);
    if (got > 0) {
        if (reply.empty())
            replyStart = Clock::now();
        reply.insert(reply.end(), buffer, buffer + got);
    }
    if (got < count) {
        if (reply.empty())
            replyStart = Clock::now();
        timedOut = true;
    }
    return got;
}

std::int32_t TracingTransport::write(const std::uint8_t* buffer, std::int32_t count)
{
    flushReply();
    const auto at = Clock::now();
    const std::int32_t done = port->write(buffer, count);
    line(at, "request", buffer, static_cast<std::size_t>(count),
         done < count ? "(not all written)" : nullptr);
    return done;
}

void TracingTransport::purge(std::uint32_t flags)
{
    flushReply();
    port->purge(flags);
}

void TracingTransport::flushReply()
{
    if (!reply.empty() || timedOut)
        line(replyStart, "reply", reply.data(), reply.size(), timedOut ? "(time-out)" : nullptr);
    reply.clear();
    timedOut = false;
}

void TracingTransport::line(Clock::time_point at, const char* kind, const std::uint8_t* bytes,
                            std::size_t count, const char* note)
{
    const double seconds = std::chrono::duration<double>(at - start).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%.6f", seconds);
    std::string text = std::string(stamp) + " " + kind;
    for (std::size_t i = 0; i < count; ++i)
        text += " " + number_text::HexDigits(bytes[i], 2);
    if (note)
        text += std::string(" ") + note;
    out << text << '\n' << std::flush;
}
