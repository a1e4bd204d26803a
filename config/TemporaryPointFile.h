#pragma once

#include <filesystem>
#include <string_view>

// A point file's text that came without a file (the served page's upload),
// held in a file of its own for the readers, which read files: a fresh name
// of the program's choosing in the system's temporary folder, never a name
// the text came with. Removed when the object goes.
class TemporaryPointFile {
public:
    TemporaryPointFile() = default;
    ~TemporaryPointFile();
    TemporaryPointFile(const TemporaryPointFile&) = delete;
    TemporaryPointFile& operator=(const TemporaryPointFile&) = delete;

    // False when the file cannot be written whole (it is then gone).
    bool write(std::string_view text);
    const std::filesystem::path& path() const { return file; }

private:
    void remove();

    std::filesystem::path file;
};
