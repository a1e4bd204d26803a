#include "framework/TextEntry.h"

#include "framework/WideText.h"

#include <cstring>

std::string ReadWindowText(HWND window)
{
    if (window == nullptr)
        return {};
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return Narrow(text);
}

void WriteWindowText(HWND window, std::string_view text)
{
    if (window != nullptr)
        SetWindowTextW(window, Widen(text).c_str());
}

std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    std::size_t end = maxBytes;
    // Step back over continuation bytes (10xxxxxx) to a character start.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

void StoreTextEntry(void* entry, std::size_t size, std::string_view text)
{
    if (size == 0)
        return;
    const std::string_view kept = Utf8Prefix(text, size - 1);
    auto* bytes = static_cast<char*>(entry);
    std::memcpy(bytes, kept.data(), kept.size());
    bytes[kept.size()] = '\0';
}

std::string LoadTextEntry(const void* entry, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(entry);
    const void* zero = std::memchr(bytes, '\0', size);
    const std::size_t length =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
    return std::string(bytes, length);
}
