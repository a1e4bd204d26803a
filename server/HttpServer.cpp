// The HTTP side of dnx8 serve: the only file that sees the HTTP library, so
// its heavy headers are compiled once. One thread runs every connection
// asynchronously; converters' workers hand answers back by posting to it.
#include "server/HttpServer.h"

#include "server/AccessGuard.h"
#include "server/AccessToken.h"
#include "server/ApiRouter.h"
#include "server/BrowserLaunch.h"
#include "server/ConverterRegistry.h"
#include "server/DataFolder.h"
#include "config/OutputFile.h"
#include "server/CoreCalls.h"
#include "server/ListenAddress.h"


#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <atomic>
#include <deque>
#include <functional>
#include <thread>

namespace net = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = net::ip::tcp;

namespace {

constexpr std::size_t HeaderLimit = 8 * 1024;
constexpr std::size_t BodyLimit = 64 * 1024;
// A request must arrive whole within this, however slowly it is sent.
constexpr auto RequestTime = std::chrono::seconds(15);
constexpr auto WriteTime = std::chrono::seconds(30);
constexpr auto HeartbeatPeriod = std::chrono::seconds(15);
// Events a stream's client has not taken yet; beyond this it is too slow.
constexpr std::size_t StreamBacklog = 1024 * 1024;
constexpr std::size_t MaxConnections = 512;

class Session;

// What every connection needs from the server.
struct ServerCore {
    net::io_context io;
    std::unique_ptr<ApiRouter> router;
    std::vector<std::weak_ptr<Session>> sessions;
    bool stopping = false;

    std::size_t openSessions()
    {
        std::erase_if(sessions, [](const auto& s) { return s.expired(); });
        return sessions.size();
    }
};

class Session : public std::enable_shared_from_this<Session> {
public:
    Session(tcp::socket socket, ServerCore& core)
        : stream(std::move(socket)), heartbeat(stream.get_executor()), core(core)
    {
    }

    void start() { readRequest(); }

    // Ends the connection at once (server stopping, stream too slow).
    void close()
    {
        if (closed)
            return;
        closed = true;
        heartbeat.cancel();
        beast::error_code ignored;
        stream.socket().shutdown(tcp::socket::shutdown_both, ignored);
        stream.socket().close(ignored);
    }

    // Ends an event stream once what is queued has gone out.
    void finish()
    {
        finishing = true;
        if (!writing)
            close();
    }

    void writeResponse(HttpResponse answer, bool keepAlive);
    void startStream(std::vector<std::pair<std::string, std::string>> headers);
    void sendEvent(std::string text);

    net::any_io_executor executor() { return stream.get_executor(); }

private:
    void readRequest();
    void onRequest(beast::error_code error);
    void refuse(int status, const std::string& message);
    void writeNext();
    void watchForClose();
    void beat();

    beast::tcp_stream stream;
    beast::flat_buffer buffer;
    std::optional<http::request_parser<http::string_body>> parser;
    net::steady_timer heartbeat;
    ServerCore& core;
    bool closed = false;
    // Event stream state.
    std::deque<std::string> pending;
    std::size_t pendingBytes = 0;
    bool writing = false;
    bool finishing = false;
    char scratch[64];
};

class StreamSink : public EventSink {
public:
    explicit StreamSink(const std::shared_ptr<Session>& session)
        : session(session), executor(session->executor())
    {
    }

    void send(std::string text) override
    {
        if (!open)
            return;
        net::post(executor, [weak = session, text = std::move(text)]() mutable {
            if (auto s = weak.lock())
                s->sendEvent(std::move(text));
        });
    }

    void close() override
    {
        open = false;
        net::post(executor, [weak = session] {
            if (auto s = weak.lock())
                s->finish();
        });
    }

    bool isOpen() const override { return open && !session.expired(); }

    std::atomic<bool> open = true;

private:
    std::weak_ptr<Session> session;
    net::any_io_executor executor;
};

class SessionExchange : public Exchange {
public:
    SessionExchange(std::shared_ptr<Session> session, bool keepAlive)
        : session(std::move(session)), keepAlive(keepAlive)
    {
    }

    void respond(HttpResponse response) override
    {
        std::shared_ptr<Session> s = std::exchange(session, nullptr);
        if (!s)
            return;
        auto executor = s->executor();
        net::post(executor, [s, response = std::move(response), keep = keepAlive]() mutable {
            s->writeResponse(std::move(response), keep);
        });
    }

    std::shared_ptr<EventSink> openStream(std::vector<std::pair<std::string, std::string>> headers) override
    {
        std::shared_ptr<Session> s = std::exchange(session, nullptr);
        auto sink = std::make_shared<StreamSink>(s);
        s->startStream(std::move(headers));
        return sink;
    }

private:
    // Held until answered, so the connection outlives the converter's work.
    std::shared_ptr<Session> session;
    const bool keepAlive;
};

void Session::readRequest()
{
    parser.emplace();
    parser->header_limit(HeaderLimit);
    parser->body_limit(BodyLimit);
    stream.expires_after(RequestTime);
    http::async_read(stream, buffer, *parser,
                     [self = shared_from_this()](beast::error_code error, std::size_t) { self->onRequest(error); });
}

void Session::onRequest(beast::error_code error)
{
    stream.expires_never();
    if (closed || core.stopping)
        return close();
    if (error == http::error::body_limit)
        return refuse(413, "the body is larger than " + std::to_string(BodyLimit / 1024) + " KiB.");
    if (error == http::error::header_limit)
        return refuse(431, "the request's header is larger than " + std::to_string(HeaderLimit / 1024) + " KiB.");
    if (error == http::error::end_of_stream || error == beast::error::timeout || error == net::error::eof ||
        error == net::error::operation_aborted || error == net::error::connection_reset)
        return close();
    if (error)
        return refuse(400, "the request is no valid HTTP/1.1.");

    const http::request<http::string_body>& message = parser->get();
    HttpRequest request;
    request.method = std::string(message.method_string());
    request.target = std::string(message.target());
    for (const auto& field : message) {
        std::string name(field.name_string());
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        request.headers[name] = std::string(field.value());
    }
    request.body = message.body();
    beast::error_code ignored;
    const tcp::endpoint peer = stream.socket().remote_endpoint(ignored);
    if (!ignored)
        request.peer = peer.address().to_string();
    core.router->handle(request, std::make_shared<SessionExchange>(shared_from_this(), message.keep_alive()));
}

void Session::refuse(int status, const std::string& message)
{
    writeResponse(errorResponse(status, message), false);
}

void Session::writeResponse(HttpResponse answer, bool keepAlive)
{
    if (closed)
        return;
    AccessGuard::AddSecurityHeaders(answer);
    auto response = std::make_shared<http::response<http::string_body>>(static_cast<http::status>(answer.status), 11);
    if (!answer.contentType.empty())
        response->set(http::field::content_type, answer.contentType);
    for (const auto& [name, value] : answer.headers)
        response->insert(name, value);
    response->body() = std::move(answer.body);
    response->keep_alive(keepAlive && !core.stopping);
    response->prepare_payload();
    stream.expires_after(WriteTime);
    http::async_write(stream, *response, [self = shared_from_this(), response](beast::error_code error, std::size_t) {
        self->stream.expires_never();
        if (error || !response->keep_alive())
            return self->close();
        self->readRequest();
    });
}

void Session::startStream(std::vector<std::pair<std::string, std::string>> headers)
{
    std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream; charset=utf-8\r\nConnection: close\r\n";
    for (const auto& [name, value] : headers)
        head += name + ": " + value + "\r\n";
    head += "\r\nretry: 2000\n\n";
    sendEvent(std::move(head));
    watchForClose();
    beat();
}

void Session::sendEvent(std::string text)
{
    if (closed)
        return;
    if (pendingBytes + text.size() > StreamBacklog)
        return close(); // the page reconnects and starts afresh
    pendingBytes += text.size();
    pending.push_back(std::move(text));
    if (!writing)
        writeNext();
}

void Session::writeNext()
{
    writing = true;
    stream.expires_after(WriteTime);
    net::async_write(stream, net::buffer(pending.front()), [self = shared_from_this()](beast::error_code error, std::size_t) {
        self->writing = false;
        self->stream.expires_never();
        if (error)
            return self->close();
        self->pendingBytes -= self->pending.front().size();
        self->pending.pop_front();
        if (!self->pending.empty())
            self->writeNext();
        else if (self->finishing)
            self->close();
    });
}

void Session::watchForClose()
{
    // A stream's client sends nothing more: anything read, or the end, closes it.
    stream.async_read_some(net::buffer(scratch), [self = shared_from_this()](beast::error_code, std::size_t) {
        self->close();
    });
}

void Session::beat()
{
    // A comment line keeps proxies from timing the stream out and finds
    // clients that vanished without closing.
    heartbeat.expires_after(HeartbeatPeriod);
    heartbeat.async_wait([weak = weak_from_this()](beast::error_code error) {
        auto self = weak.lock();
        if (error || !self || self->closed)
            return;
        self->sendEvent(": heartbeat\n\n");
        self->beat();
    });
}

void acceptNext(ServerCore& core, tcp::acceptor& acceptor)
{
    acceptor.async_accept(core.io, [&core, &acceptor](beast::error_code error, tcp::socket socket) {
        if (core.stopping || !acceptor.is_open())
            return;
        if (!error) {
            if (core.openSessions() >= MaxConnections) {
                beast::error_code ignored;
                socket.close(ignored);
            } else {
                auto session = std::make_shared<Session>(std::move(socket), core);
                core.sessions.push_back(session);
                session->start();
            }
        }
        acceptNext(core, acceptor);
    });
}

} // namespace

ServeEnd runServer(const ServeOptions& options, std::ostream& out, std::ostream& err)
{
    std::string problem;
    std::optional<ListenAddress> listen = ListenAddress::Parse(options.listen, problem);
    if (!listen) {
        err << "dnx8: --listen " << problem << ". Nothing was started.\n";
        return ServeEnd::BadOptions;
    }
    std::string token;
    if (!options.tokenFile.empty()) {
        std::optional<std::string> read = readAccessToken(options.tokenFile, problem);
        if (!read) {
            err << "dnx8: " << problem << ". Nothing was started.\n";
            return ServeEnd::BadOptions;
        }
        token = *read;
    } else if (!listen->isLoopback()) {
        token = newAccessToken();
    }

    std::filesystem::path dataFolder =
        options.dataFolder.empty()
            ? defaultDataFolder()
            : std::filesystem::path(std::u8string(options.dataFolder.begin(), options.dataFolder.end()));
    // Said now rather than at the first write, which would then be refused.
    if (!options.readOnly)
        if (std::string why = dataFolderProblem(dataFolder); !why.empty()) {
            err << "dnx8: --data: " << why
                << "; the journal and the as-found copies need a folder that can be "
                << "written. Nothing was started.\n";
            return ServeEnd::BadOptions;
        }
    auto data = std::make_shared<DataFolder>(dataFolder);

    ServerCore core;
    tcp::acceptor acceptor(core.io);
    {
        beast::error_code error;
        const std::string host = listen->host == "localhost" ? "127.0.0.1" : listen->host;
        const tcp::endpoint endpoint(net::ip::make_address(host, error), listen->port);
        if (!error)
            acceptor.open(endpoint.protocol(), error);
        if (!error)
            acceptor.set_option(net::socket_base::reuse_address(true), error);
        if (!error)
            acceptor.bind(endpoint, error);
        if (!error)
            acceptor.listen(net::socket_base::max_listen_connections, error);
        if (error) {
            err << "dnx8: cannot listen on " << listen->authority() << ": " << error.message()
                << ". Choose another --listen address or port.\n";
            return ServeEnd::CannotListen;
        }
        listen->port = acceptor.local_endpoint().port();
    }

    AccessGuard guard(*listen, token, options.allowedHosts);
    ConverterRegistry converters({}, data);
    core.router = std::make_unique<ApiRouter>(converters, guard, options.readOnly, data);

    const std::string url = "http://" + listen->authority() + "/" + (token.empty() ? "" : "?token=" + token);
    out << url << std::endl;
    err << "dnx8: writes are journalled, and converters saved as found, in " << pathText(dataFolder) << "\n";
    for (const std::string& port : options.ports)
        converters.add(port, true, nullptr);

    const auto stop = [&] {
        if (core.stopping)
            return;
        core.stopping = true;
        beast::error_code ignored;
        acceptor.close(ignored);
        for (auto& weak : core.sessions)
            if (auto session = weak.lock())
                session->close();
        converters.stopAll();
        core.io.stop();
    };
    net::signal_set signals(core.io, SIGINT, SIGTERM);
    signals.async_wait([&](beast::error_code error, int) {
        if (!error)
            stop();
    });
    // The console's own Ctrl+C handling (Windows) sets a flag instead.
    net::steady_timer stopWatch(core.io);
    std::function<void()> watchStop = [&] {
        stopWatch.expires_after(std::chrono::milliseconds(200));
        stopWatch.async_wait([&](beast::error_code error) {
            if (error)
                return;
            if (options.stopRequested && options.stopRequested())
                return stop();
            watchStop();
        });
    };
    watchStop();

    acceptNext(core, acceptor);
    if (options.openBrowser)
        std::thread([url, &err] {
            if (!openInBrowser(url))
                err << "dnx8: could not open a browser; open " << url << " yourself.\n";
        }).detach();
    core.io.run();
    converters.stopAll();
    return ServeEnd::Stopped;
}
