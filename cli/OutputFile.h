#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

// A file that appears whole or not at all: written beside its place, then
// renamed over it, so a failure never leaves half a file behind (and never
// damages the file that was there).
class OutputFile {
public:
    // The name as typed on the command line.
    explicit OutputFile(const std::string& name);
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

// Opens `-o FILE` before the converter is asked, so that a place that cannot
// be written stops the command with nothing sent. An empty name means
// standard output and leaves `output` empty. False (with the message on
// standard error) when the file cannot be made.
bool openOutputBeforeSending(const std::string& name, std::optional<OutputFile>& output);
