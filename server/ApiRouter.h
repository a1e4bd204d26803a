#pragma once

#include "server/AccessGuard.h"
#include "server/ConverterRegistry.h"
#include "server/HttpMessage.h"

#include <memory>

struct ServeOptions;

// Answers every request: the page's files and the API. Runs on the HTTP
// thread and never waits for a converter: transactions go to the
// converter's worker, which answers through the exchange.
class ApiRouter {
public:
    ApiRouter(ConverterRegistry& converters, const AccessGuard& guard, bool readOnly);

    void handle(const HttpRequest& request, std::shared_ptr<Exchange> exchange);

private:
    HttpResponse serverInfo() const;
    HttpResponse ports() const;
    HttpResponse converterList();
    void connect(const HttpRequest& request, std::shared_ptr<Exchange> exchange);
    HttpResponse disconnect(const std::string& id);
    void reading(const std::string& id, std::shared_ptr<Exchange> exchange);
    void events(const std::string& id, Exchange& exchange);
    void settings(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange);
    void record(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange);

    ConverterRegistry& converters;
    const AccessGuard& guard;
    const bool readOnly;
};

// A JSON answer.
HttpResponse jsonResponse(int status, const std::string& json);
