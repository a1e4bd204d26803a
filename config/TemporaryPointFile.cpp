#include "config/TemporaryPointFile.h"

#include <cstdio>
#include <random>
#include <system_error>

namespace {

// 128 random bits: a name nobody else can guess or hold already.
std::string randomName()
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::random_device random;
    std::string name = "dnx8-points-";
    for (int i = 0; i < 32; ++i)
        name += Digits[random() & 15];
    return name + ".txt";
}

} // namespace

TemporaryPointFile::~TemporaryPointFile()
{
    remove();
}

void TemporaryPointFile::remove()
{
    if (file.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    file.clear();
}

bool TemporaryPointFile::write(std::string_view text)
{
    remove();
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        return false;
    std::filesystem::path name = folder / randomName();
    if (std::filesystem::exists(name, error))
        return false;
#ifdef _WIN32
    std::FILE* out = _wfopen(name.c_str(), L"wb");
#else
    std::FILE* out = std::fopen(name.c_str(), "wb");
#endif
    if (!out)
        return false;
    file = std::move(name);
    const bool whole = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (std::fclose(out) != 0 || !whole) {
        remove();
        return false;
    }
    return true;
}
