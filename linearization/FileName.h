#pragma once

#include <concepts>
#include <filesystem>
#include <string>
#include <utility>

// What a path is made from, other than the forms a FileName holds as they are.
template <class Source>
concept OtherPathSource = !std::same_as<Source, std::filesystem::path::string_type> &&
                          !std::convertible_to<const Source&, const std::filesystem::path::value_type*> &&
                          std::constructible_from<std::filesystem::path, const Source&>;

// The name of a file as the system opens it: UTF-16 on Windows, bytes
// elsewhere. The point-file readers take this rather than a
// std::filesystem::path, because making a path runs library code that brings
// the standard library's character conversions, and with them its whole
// locale machinery, into a static Windows program (half of config.exe). A
// path, or anything a path is made from, still converts here, in the
// caller's code.
class FileName {
public:
    using String = std::filesystem::path::string_type;

    FileName() = default;
    FileName(String name) : text(std::move(name)) {}
    FileName(const String::value_type* name) : text(name) {}
    template <OtherPathSource Source>
    FileName(const Source& source) : text(std::filesystem::path(source).native())
    {
    }

    const String& native() const { return text; }
    const String::value_type* c_str() const { return text.c_str(); }

private:
    String text;
};
