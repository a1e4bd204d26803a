#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// The backup files of converters as they were found before the server
// first wrote to them, named by serial number and time:
// as-found-240117-20240514T093000Z.json.
class AsFoundCopies {
public:
    explicit AsFoundCopies(std::filesystem::path folder);

    struct Copy {
        std::string name;
        std::string time; // UTC, "2024-05-14T09:30:00Z"
    };

    // Saves text as a new copy, whole or not at all; false with why.
    bool save(std::int64_t serialNumber, std::chrono::system_clock::time_point at, const std::string& text,
              std::string& name, std::string& problem);
    // The converter's copies, newest first.
    std::vector<Copy> list(std::int64_t serialNumber) const;
    // The text of a copy named in list(serialNumber); nothing for any other
    // name, so a name sent by a client never becomes a path by itself.
    std::optional<std::string> read(std::int64_t serialNumber, const std::string& name) const;

private:
    const std::filesystem::path folder;
    std::mutex mutex; // two converters may save at the same second
};
