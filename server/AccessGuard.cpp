#include "server/AccessGuard.h"

#include "server/CoreCalls.h"

#include <algorithm>
#include <cctype>

namespace {

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Compares without stopping at the first difference, so the time taken
// tells nothing about the token.
bool sameSecret(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

std::optional<std::string> cookieValue(const std::string& cookies, const std::string& name)
{
    std::size_t start = 0;
    while (start < cookies.size()) {
        std::size_t end = cookies.find(';', start);
        if (end == std::string::npos)
            end = cookies.size();
        std::string pair = cookies.substr(start, end - start);
        pair.erase(0, pair.find_first_not_of(' '));
        if (pair.starts_with(name + "="))
            return pair.substr(name.size() + 1);
        start = end + 1;
    }
    return std::nullopt;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

} // namespace

HttpResponse errorResponse(int status, const std::string& message)
{
    Json body;
    body["error"] = message;
    return {status, "application/json; charset=utf-8", core::jsonText(body), {}};
}

std::optional<std::string> queryValue(const std::string& target, const std::string& name)
{
    const auto question = target.find('?');
    if (question == std::string::npos)
        return std::nullopt;
    const std::string query = target.substr(question + 1);
    std::size_t start = 0;
    while (start <= query.size()) {
        std::size_t end = query.find('&', start);
        if (end == std::string::npos)
            end = query.size();
        const std::string pair = query.substr(start, end - start);
        if (pair.starts_with(name + "=")) {
            std::string value;
            for (std::size_t i = name.size() + 1; i < pair.size(); ++i) {
                if (pair[i] == '%' && i + 2 < pair.size() && hexValue(pair[i + 1]) >= 0 && hexValue(pair[i + 2]) >= 0) {
                    value += static_cast<char>(hexValue(pair[i + 1]) * 16 + hexValue(pair[i + 2]));
                    i += 2;
                } else {
                    value += pair[i] == '+' ? ' ' : pair[i];
                }
            }
            return value;
        }
        start = end + 1;
    }
    return std::nullopt;
}

AccessGuard::AccessGuard(ListenAddress listen, std::string token, std::vector<std::string> allowedHosts)
    : listen(std::move(listen)), token(std::move(token))
{
    for (std::string& host : allowedHosts)
        this->allowedHosts.push_back(lowerCase(host));
}

bool AccessGuard::hostAllowed(const std::string& header) const
{
    const std::string host = lowerCase(header);
    if (std::find(allowedHosts.begin(), allowedHosts.end(), host) != allowedHosts.end())
        return true;
    // name:port, with the port the server listens on.
    const auto colon = host.rfind(':');
    if (colon == std::string::npos || host.ends_with("]") || host.substr(colon + 1) != std::to_string(listen.port))
        return false;
    const std::string name = host.substr(0, colon);
    if (std::find(allowedHosts.begin(), allowedHosts.end(), name) != allowedHosts.end())
        return true;
    if (listen.isLoopback())
        return name == "localhost" || name == "[::1]" || (isIpLiteral(name) && name.starts_with("127."));
    // An address literal cannot be rebound through DNS; a name can.
    if (listen.isWildcard())
        return isIpLiteral(name);
    const std::string own = listen.host.find(':') != std::string::npos ? "[" + listen.host + "]" : listen.host;
    return name == lowerCase(own);
}

bool AccessGuard::authenticated(const HttpRequest& request) const
{
    if (token.empty())
        return true;
    if (auto cookie = cookieValue(request.header("cookie"), CookieName); cookie && sameSecret(*cookie, token))
        return true;
    const std::string authorization = request.header("authorization");
    return authorization.starts_with("Bearer ") && sameSecret(authorization.substr(7), token);
}

std::optional<HttpResponse> AccessGuard::screen(const HttpRequest& request) const
{
    if (!hostAllowed(request.header("host")))
        return errorResponse(403, "the Host \"" + request.header("host") +
                                      "\" is not this server's address; open the address dnx8 serve printed, or "
                                      "start it with --allow-host NAME for a name of your own.");
    if (!token.empty() && request.method == "GET") {
        const std::string path = request.target.substr(0, request.target.find('?'));
        if (auto given = queryValue(request.target, "token"); given && path == "/") {
            if (!sameSecret(*given, token))
                return errorResponse(401, "this access token is not valid; open the address dnx8 serve printed.");
            HttpResponse redirect{303, "text/plain; charset=utf-8", "", {}};
            redirect.headers.emplace_back("Location", "/");
            redirect.headers.emplace_back("Set-Cookie", std::string(CookieName) + "=" + token +
                                                            "; HttpOnly; SameSite=Strict; Path=/");
            return redirect;
        }
    }
    if (!authenticated(request))
        return errorResponse(401, "an access token is needed: open the address with ?token= that dnx8 serve printed "
                                  "(or send Authorization: Bearer TOKEN).");
    return std::nullopt;
}

std::optional<HttpResponse> AccessGuard::screenChange(const HttpRequest& request) const
{
    const std::string origin = request.header("origin");
    // Browsers send Origin with every request that changes something; a
    // script (curl) sends none and must then send JSON, which no cross-site
    // form can.
    if (request.headers.contains("origin")) {
        const std::string host = request.header("host");
        if (origin != "http://" + host && origin != "https://" + host)
            return errorResponse(403, "changes are accepted from this server's own page only (Origin \"" + origin +
                                          "\" is another site).");
    }
    if (request.header("sec-fetch-site") == "cross-site")
        return errorResponse(403, "changes are accepted from this server's own page only.");
    if (request.method == "POST" || request.method == "PUT") {
        std::string type = lowerCase(request.header("content-type"));
        type = type.substr(0, type.find(';'));
        type.erase(type.find_last_not_of(' ') + 1);
        if (type != "application/json")
            return errorResponse(415, "send the body as JSON with Content-Type: application/json.");
    }
    return std::nullopt;
}

void AccessGuard::AddSecurityHeaders(HttpResponse& response)
{
    // A page that needs a policy of its own (the record's inline styles) brings it.
    const bool ownPolicy = std::any_of(response.headers.begin(), response.headers.end(),
                                       [](const auto& header) { return header.first == "Content-Security-Policy"; });
    if (!ownPolicy)
        response.headers.emplace_back("Content-Security-Policy",
                                      "default-src 'self'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
                                      "connect-src 'self'; font-src 'self'; object-src 'none'; base-uri 'none'; "
                                      "form-action 'self'; frame-ancestors 'none'");
    response.headers.emplace_back("X-Content-Type-Options", "nosniff");
    response.headers.emplace_back("X-Frame-Options", "DENY");
    response.headers.emplace_back("Referrer-Policy", "no-referrer");
}
