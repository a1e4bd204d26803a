#pragma once

#include "server/HttpMessage.h"
#include "server/ListenAddress.h"

#include <optional>
#include <string>
#include <vector>

// Who may use the server, and how: the Host header against DNS rebinding,
// the access token (exchanged for a cookie) off the loopback address, the
// page's own Origin and a JSON body for anything that changes something.
class AccessGuard {
public:
    static constexpr const char* CookieName = "dnx8_token";

    // token empty: none needed. allowedHosts: names (or name:port) that may
    // appear in Host besides the listen address.
    AccessGuard(ListenAddress listen, std::string token, std::vector<std::string> allowedHosts);

    bool tokenRequired() const { return !token.empty(); }
    const std::string& accessToken() const { return token; }

    // The refusal for a request that may not go further, or nothing. Also
    // answers the token exchange: GET /?token=T sets the cookie and sends the
    // browser to the page.
    std::optional<HttpResponse> screen(const HttpRequest& request) const;

    bool hostAllowed(const std::string& host) const;
    bool authenticated(const HttpRequest& request) const;
    // For a request that changes something: "" when allowed, else why not
    // (with the status to answer).
    std::optional<HttpResponse> screenChange(const HttpRequest& request) const;

    // Headers every answer carries; a Content-Security-Policy the answer
    // has already is kept instead of the page's.
    static void AddSecurityHeaders(HttpResponse& response);

private:
    ListenAddress listen;
    std::string token;
    std::vector<std::string> allowedHosts;
};

// {"error": message} with the status.
HttpResponse errorResponse(int status, const std::string& message);
// The value of NAME in a query string ("a=1&token=x"), percent-decoded.
std::optional<std::string> queryValue(const std::string& target, const std::string& name);
