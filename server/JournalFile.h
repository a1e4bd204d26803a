#pragma once

#include "config/Json.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <ios>
#include <mutex>
#include <string>
#include <vector>

// A file of JSON lines that only grows. Each line goes out in one write and
// is flushed; a line cut short when the program was killed is skipped on
// reading, and the next line starts on a line of its own.
class JournalFile {
public:
    // readAtMost: how much of the file's end read() looks at.
    explicit JournalFile(std::filesystem::path path, std::size_t readAtMost = 32 * 1024 * 1024);

    const std::filesystem::path& path() const { return file; }
    // Makes the folder and opens the file for appending; false (with why)
    // when it cannot be written.
    bool ready(std::string& problem);
    // Appends one JSON object as a line; safe from any thread.
    bool append(const Json& line, std::string& problem);

    struct Lines {
        std::vector<Json> lines; // oldest first
        bool more = false;       // older lines were left out
    };
    // The newest `limit` objects that keep accepts, from the last readAtMost
    // bytes (more is then set); lines that are no JSON object (a cut line) are skipped. No file
    // reads as no lines.
    Lines read(const std::function<bool(const Json&)>& keep, std::size_t limit) const;

private:
    const std::filesystem::path file;
    const std::streamoff readAtMost;
    mutable std::mutex mutex; // one append at a time, in one process
};
