#include "TempPointFile.h"

#include <chrono>
#include <fstream>
#include <random>

namespace {

std::filesystem::path TestFolder()
{
    // Test cases may run as parallel processes: each file gets a folder of its own.
    static std::mt19937_64 random(
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return std::filesystem::temp_directory_path() / "dnx8-linearization-test" / std::to_string(random());
}

} // namespace

TempPointFile::TempPointFile(std::string_view bytes, std::u8string_view name)
{
    const auto folder = TestFolder();
    std::filesystem::create_directories(folder);
    filePath = folder / std::filesystem::path(name);
    std::ofstream out(filePath, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TempPointFile::~TempPointFile()
{
    std::error_code ignored;
    std::filesystem::remove_all(filePath.parent_path(), ignored);
}

std::filesystem::path MissingFile()
{
    return std::filesystem::temp_directory_path() / "dnx8-linearization-test" / "no-such-dir" / "none.txt";
}
