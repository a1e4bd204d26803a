// dnx8 serve's parts without HTTP: the settings body against dnx8 set's
// rules, the access rules, and the router with a worker against a converter
// that stores another value than asked.
#include "server/AccessGuard.h"
#include "server/ApiRouter.h"
#include "server/ConverterRegistry.h"
#include "server/ListenAddress.h"
#include "server/PortAdmission.h"
#include "server/SettingsBody.h"

#include "device/LittleEndian.h"
#include "device/Protocol.h"
#include "tests/device/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <future>

using P = protocol::Parameter;

namespace {

std::vector<std::string> settingNames(const SettingsBody& body)
{
    std::vector<std::string> names;
    for (const auto& item : body.items)
        names.push_back(item.name);
    return names;
}

TEST(ServerSettingsBody, TakesTheBackupVocabularyAndWritesInAFixedOrder)
{
    std::string problem;
    auto body = parseSettingsBody(R"({"Relay2": {"onValue": 20.5, "offValue": 30, "onDelay": 0, "offDelay": 65535,
        "mode": 1}, "ErrorSignalling": 3, "ScaleMax": 0.1, "Filter": 30})",
                                  problem);
    ASSERT_TRUE(body) << problem;
    EXPECT_EQ(settingNames(*body), (std::vector<std::string>{"Filter", "ScaleMax", "ErrorSignalling", "Relay2"}));
    EXPECT_EQ(body->items[0].setting.code, 30);
    EXPECT_EQ(body->items[1].setting.real, 0.1f); // the float nearest 0.1, as dnx8 set reads it
    EXPECT_EQ(body->items[2].setting.code, 3);
    EXPECT_EQ(body->items[3].setting.relay, (RelaySettings{20.5f, 30.0f, 0, 65535, RelaySettings::Window}));
}

TEST(ServerSettingsBody, RefusesWithAMessageThatSaysWhatToDo)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"({"ScaleMin": "0,5"})", "JSON number"},
        {R"({"ScaleMin": "0.5"})", "JSON number"},
        {R"({"Filter": 31})", "outside 0..30"},
        {R"({"Filter": -1})", "outside 0..30"},
        {R"({"Filter": 2.5})", "whole number"},
        {R"({"Filter": true})", "JSON number"},
        {R"({"ErrorSignalling": 4})", "0 (none)"},
        {R"({"Relay1": {"onValue": 1, "offValue": 1, "onDelay": 70000, "offDelay": 0, "mode": 0}})", "65535"},
        {R"({"Relay1": {"onValue": 1, "offValue": 1, "onDelay": 0, "offDelay": 0, "mode": 0, "x": 1}})",
         "unknown field"},
        {R"({"Relay1": [1, 2]})", "must be an object"},
        {R"({"ScaleMax": 1e39})", "too large"},
        {R"({"filter": 5})", "unknown setting \"filter\""},
        {R"({})", "names no setting"},
        {R"(not json)", "no valid JSON"},
    };
    for (const auto& [text, words] : cases) {
        std::string problem;
        EXPECT_FALSE(parseSettingsBody(text, problem)) << text;
        EXPECT_NE(problem.find(words), std::string::npos) << text << ": " << problem;
        EXPECT_NE(problem.find("Nothing was sent"), std::string::npos) << problem;
    }
}

TEST(ServerListenAddress, ReadsAddressesAndKnowsTheLoopback)
{
    std::string problem;
    auto v4 = ListenAddress::Parse("127.0.0.1:8480", problem);
    ASSERT_TRUE(v4);
    EXPECT_TRUE(v4->isLoopback());
    auto v6 = ListenAddress::Parse("[::1]:0", problem);
    ASSERT_TRUE(v6);
    EXPECT_TRUE(v6->isLoopback());
    EXPECT_EQ(v6->authority(), "[::1]:0");
    auto any = ListenAddress::Parse("0.0.0.0:80", problem);
    ASSERT_TRUE(any);
    EXPECT_FALSE(any->isLoopback());
    EXPECT_TRUE(any->isWildcard());
    for (const char* bad : {"8480", "127.0.0.1", "127.0.0.1:65536", "127.0.0.1:x", "300.0.0.1:80", "host:80", ":80"})
        EXPECT_FALSE(ListenAddress::Parse(bad, problem)) << bad;
}

HttpRequest Request(std::string method, std::string host, std::map<std::string, std::string> more = {})
{
    HttpRequest request;
    request.method = std::move(method);
    request.target = "/api/converters";
    request.headers = std::move(more);
    request.headers["host"] = std::move(host);
    return request;
}

TEST(ServerAccessGuard, HostMustNameTheServer)
{
    std::string problem;
    AccessGuard loopback(*ListenAddress::Parse("127.0.0.1:8480", problem), "", {"bench.example"});
    for (const char* host : {"127.0.0.1:8480", "localhost:8480", "LOCALHOST:8480", "[::1]:8480", "bench.example",
                             "bench.example:8480"})
        EXPECT_TRUE(loopback.hostAllowed(host)) << host;
    for (const char* host : {"", "127.0.0.1", "127.0.0.1:8481", "evil.example:8480", "192.168.1.5:8480",
                             "localhost.evil.example:8480"})
        EXPECT_FALSE(loopback.hostAllowed(host)) << host;

    AccessGuard wildcard(*ListenAddress::Parse("0.0.0.0:8480", problem), "t", {});
    EXPECT_TRUE(wildcard.hostAllowed("192.168.1.5:8480"));
    EXPECT_FALSE(wildcard.hostAllowed("field-pc:8480")); // a name could be rebound
}

TEST(ServerAccessGuard, TokenCookieOriginAndJson)
{
    std::string problem;
    const std::string token = "0123456789abcdef0123456789abcdef";
    AccessGuard guard(*ListenAddress::Parse("0.0.0.0:8480", problem), token, {});
    const std::string host = "10.0.0.2:8480";
    EXPECT_EQ(guard.screen(Request("GET", host))->status, 401);
    EXPECT_FALSE(guard.screen(Request("GET", host, {{"cookie", "a=b; dnx8_token=" + token}})));
    EXPECT_EQ(guard.screen(Request("GET", host, {{"cookie", "dnx8_token=" + token + "x"}}))->status, 401);
    EXPECT_FALSE(guard.screen(Request("GET", host, {{"authorization", "Bearer " + token}})));
    EXPECT_EQ(guard.screen(Request("GET", "evil.example:8480", {{"authorization", "Bearer " + token}}))->status, 403);

    HttpRequest exchange = Request("GET", host);
    exchange.target = "/?token=" + token;
    const auto redirect = guard.screen(exchange);
    ASSERT_TRUE(redirect);
    EXPECT_EQ(redirect->status, 303);

    const std::map<std::string, std::string> json = {{"content-type", "application/json; charset=utf-8"}};
    EXPECT_FALSE(guard.screenChange(Request("POST", host, json)));
    auto own = json;
    own["origin"] = "http://" + host;
    EXPECT_FALSE(guard.screenChange(Request("POST", host, own)));
    own["origin"] = "http://evil.example";
    EXPECT_EQ(guard.screenChange(Request("POST", host, own))->status, 403);
    EXPECT_EQ(guard.screenChange(Request("POST", host, {{"content-type", "text/plain"}}))->status, 415);
    EXPECT_EQ(guard.screenChange(Request("POST", host))->status, 415);
    EXPECT_FALSE(guard.screenChange(Request("DELETE", host)));
}

TEST(ServerPorts, OnlySerialLinesAreOpenedAndIdsAreUrlSafe)
{
    PseudoTerminal line;
    EXPECT_EQ(portRefusal(line.slavePath()), "");
    for (const char* port : {"/dev/null", "/etc/hostname", "/dev/tty", "/no/such/port", ""})
        EXPECT_NE(portRefusal(port), "") << port;
    EXPECT_EQ(ConverterRegistry::IdFor("/dev/ttyUSB0"), "ttyUSB0");
    EXPECT_EQ(ConverterRegistry::IdFor("COM3"), "COM3");
    EXPECT_EQ(ConverterRegistry::IdFor("/tmp/a b/port?x"), "port-x");
}

// Collects one answer.
class Answer : public Exchange {
public:
    void respond(HttpResponse response) override { promise.set_value(std::move(response)); }
    std::shared_ptr<EventSink> openStream(std::vector<std::pair<std::string, std::string>>) override
    {
        return nullptr;
    }
    std::promise<HttpResponse> promise;
};

HttpResponse Handle(ApiRouter& router, HttpRequest request)
{
    auto answer = std::make_shared<Answer>();
    auto future = answer->promise.get_future();
    router.handle(request, answer);
    EXPECT_EQ(future.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    return future.get();
}

PseudoTerminal::Bytes Ack(PseudoTerminal::Bytes data)
{
    data.insert(data.begin(), {protocol::Ack, static_cast<std::uint8_t>(data.size())});
    data.push_back(protocol::Checksum(data.data(), data.size()));
    return data;
}

TEST(ServerRouter, SettingsShowTheClippedEchoAndAFailedWriteIsNoSuccess)
{
    PseudoTerminal line;
    std::atomic<bool> silent = false;
    std::mutex mutex;
    std::vector<std::uint8_t> writes;
    // Stores ScaleMin clamped to -100, echoes other writes, answers 1 to every read.
    ConverterPeer converter(line, [&](std::uint8_t command, const PseudoTerminal::Bytes& data)
                                      -> std::optional<PseudoTerminal::Bytes> {
        if (command == protocol::Code(P::Identity))
            return Ack({'D', 'N', 'X', '8', 0, 0, 0, 0});
        if (silent)
            return std::nullopt;
        if (!data.empty()) {
            std::lock_guard lock(mutex);
            writes.push_back(command);
        }
        if (command == protocol::Code(P::ScaleMin) && data.size() == 4) {
            PseudoTerminal::Bytes stored(4);
            little_endian::PutFloat(stored.data(), std::max(little_endian::GetFloat(data.data()), -100.0f));
            return Ack(stored);
        }
        if (data.empty())
            return Ack({1, 0, 0, 0});
        return Ack(data);
    });

    std::string problem;
    AccessGuard guard(*ListenAddress::Parse("127.0.0.1:8480", problem), "", {});
    ConverterRegistry converters;
    ApiRouter router(converters, guard, false);
    HttpRequest connect = Request("POST", "127.0.0.1:8480", {{"content-type", "application/json"}});
    connect.body = R"({"port": ")" + line.slavePath() + R"("})";
    const HttpResponse connected = Handle(router, connect);
    ASSERT_EQ(connected.status, 201) << connected.body;
    const std::string id = Json::parse(connected.body)["id"].get<std::string>();

    HttpRequest settings = Request("POST", "127.0.0.1:8480", {{"content-type", "application/json"}});
    settings.target = "/api/converters/" + id + "/settings";
    settings.body = R"({"ScaleMin": -500, "Filter": 7})";
    HttpResponse written = Handle(router, settings);
    ASSERT_EQ(written.status, 200) << written.body;
    Json reply = Json::parse(written.body);
    EXPECT_EQ(reply["echo"]["ScaleMin"].get<float>(), -100.0f);
    EXPECT_EQ(reply["echo"]["Filter"].get<int>(), 7); // the later setting is still written
    EXPECT_EQ(reply["differs"], Json::array({"ScaleMin"}));
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(writes, (std::vector<std::uint8_t>{protocol::Code(P::Filter), protocol::Code(P::ScaleMin)}));
    }

    silent = true;
    written = Handle(router, settings);
    EXPECT_EQ(written.status, 502);
    EXPECT_NE(written.body.find("Chyba komunikace"), std::string::npos) << written.body;

    ApiRouter readOnly(converters, guard, true);
    EXPECT_EQ(Handle(readOnly, settings).status, 403);
}

} // namespace
