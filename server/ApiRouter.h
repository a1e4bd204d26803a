#pragma once

#include "server/AccessGuard.h"
#include "server/ConverterRegistry.h"
#include "server/HttpMessage.h"
#include "server/RestoreApi.h"

#include <memory>

struct ServeOptions;
class DataFolder;

// Answers every request: the page's files and the API. Runs on the HTTP
// thread and never waits for a converter: transactions go to the
// converter's worker, which answers through the exchange.
class ApiRouter {
public:
    // data: the journal and the as-found copies (none in some tests).
    ApiRouter(ConverterRegistry& converters, const AccessGuard& guard, bool readOnly,
              std::shared_ptr<DataFolder> data = nullptr);

    void handle(const HttpRequest& request, std::shared_ptr<Exchange> exchange);

private:
    HttpResponse serverInfo() const;
    HttpResponse ports() const;
    HttpResponse converterList();
    void connect(const HttpRequest& request, std::shared_ptr<Exchange> exchange);
    HttpResponse disconnect(const std::string& id);
    void reading(const std::string& id, std::shared_ptr<Exchange> exchange);
    void events(const std::string& id, Exchange& exchange);
    void benchEvents(Exchange& exchange);
    void settings(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange);
    void input(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange);
    HttpResponse journal(const std::string& id, const std::string& target);
    HttpResponse asFound(const std::string& id, const std::string& name);
    void record(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange);

    ConverterRegistry& converters;
    const AccessGuard& guard;
    const bool readOnly;
    RestoreApi backups;
    const std::shared_ptr<DataFolder> data;
};

// What a write job answers when its worker gave it no link: why the write
// was refused (its as-found copy, the journal), or that the converter is not
// connected. Nothing was sent either way. A refusal's body is body with the
// error added.
HttpResponse unavailable(const ConverterWorker& worker, Json body = Json::object());

// A JSON answer.
HttpResponse jsonResponse(int status, const std::string& json);
// 404 for an id no worker has; 503 while the converter is not connected.
HttpResponse unknownConverter(const std::string& id);
HttpResponse notConnected(const std::string& port);
