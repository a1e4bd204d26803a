#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text made safe for XML and HTML content and attribute values: &, <, >, "
// and ' become entities; control characters that XML does not allow and
// bytes that are not UTF-8 (a file name in another encoding) become U+FFFD.
std::string escapeMarkup(std::string_view text);

// Length of the well-formed multi-byte UTF-8 sequence that starts at
// text[i] (no overlong form, surrogate or value above U+10FFFF); 0 when
// there is none, and for a byte below 0x80.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i);
