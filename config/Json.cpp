#include "config/Json.h"

void printJson(std::ostream& out, const Json& json)
{
    // Invalid UTF-8 (a converter's odd identity bytes) is replaced, never thrown.
    out << json.dump(2, ' ', false, nlohmann::detail::error_handler_t::replace) << '\n';
}
