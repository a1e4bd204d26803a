#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

// Window texts as UTF-8, and the text entries of transfer records.

// "" for 0 or a window without text.
std::string ReadWindowText(HWND window);
void WriteWindowText(HWND window, std::string_view text);

// The longest prefix of text within maxBytes that does not split a character.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes);

// An entry of size bytes: the text cut to fit, always zero-terminated.
void StoreTextEntry(void* entry, std::size_t size, std::string_view text);
// The text of an entry; stops at its end even without a zero.
std::string LoadTextEntry(const void* entry, std::size_t size);
