#pragma once

#include <filesystem>
#include <fstream>
#include <string>

// A file that appears whole or not at all: written beside its place, then
// renamed over it, so a failure never leaves half a file behind (and never
// damages the file that was there).
class OutputFile {
public:
    explicit OutputFile(std::filesystem::path path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Opens the temporary file beside the place; false when it cannot be made.
    bool create();
    // Writes the text and puts the file in its place; false (and nothing
    // left behind) when that fails.
    bool commit(const std::string& text);
    // Drops the temporary file; also done by the destructor until commit.
    void discard();

private:
    const std::filesystem::path path;
    const std::filesystem::path temporary;
    std::ofstream out;
    bool committed = false;
};

// Writes text to path whole or not at all; false (the old file, if any,
// untouched) when that fails.
bool writeFileWhole(const std::filesystem::path& path, const std::string& text);

// A path as UTF-8 text for messages and names; never throws, whatever the
// system's code page.
std::string pathText(const std::filesystem::path& path);
