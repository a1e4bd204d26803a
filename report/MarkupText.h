#pragma once

#include <string>
#include <string_view>

// Text made safe for XML and HTML content and attribute values: &, <, >, "
// and ' become entities; control characters that XML does not allow and
// bytes that are not UTF-8 (a file name in another encoding) become U+FFFD.
std::string escapeMarkup(std::string_view text);
