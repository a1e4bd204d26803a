#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// dnx8's JSON: keys in the order written, and reals as float32, the
// converter's own type, so each is written in the fewest digits that read
// back to the same float, bit for bit ("0.1", not "0.10000000149011612").
// Not-a-number and infinity have no JSON form and are written as null.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

// null for an empty optional.
template <typename T> Json optionalJson(const std::optional<T>& value)
{
    return value ? Json(*value) : Json(nullptr);
}

// Indented by two, then a line end; UTF-8 as it is.
void printJson(std::ostream& out, const Json& json);
