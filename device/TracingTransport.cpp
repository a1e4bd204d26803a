#include "device/TracingTransport.h"

#include "device/TraceFormat.h"

#include <algorithm>

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
    line(at, protocol::TraceKind::Request, {buffer, static_cast<std::size_t>(std::max(count, 0))},
         done < count ? "(not all written)" : "");
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
        line(replyStart, protocol::TraceKind::Reply, reply, timedOut ? "(time-out)" : "");
    reply.clear();
    timedOut = false;
}

void TracingTransport::line(Clock::time_point at, protocol::TraceKind kind,
                            std::span<const std::uint8_t> bytes, std::string_view note)
{
    const double seconds = std::chrono::duration<double>(at - start).count();
    out << protocol::traceLine(seconds, kind, bytes, note) << '\n' << std::flush;
}
