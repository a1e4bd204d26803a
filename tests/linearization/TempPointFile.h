#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A point file with the given bytes in the temporary folder, removed again
// when the object goes.
class TempPointFile {
public:
    explicit TempPointFile(std::string_view bytes, std::u8string_view name = u8"points.txt");
    ~TempPointFile();
    TempPointFile(const TempPointFile&) = delete;
    TempPointFile& operator=(const TempPointFile&) = delete;

    const std::filesystem::path& path() const { return filePath; }

private:
    std::filesystem::path filePath;
};

// A path that names no file.
std::filesystem::path MissingFile();
