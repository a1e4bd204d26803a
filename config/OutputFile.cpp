#include "config/OutputFile.h"

#include <system_error>

OutputFile::OutputFile(std::filesystem::path place)
    : path(std::move(place)), temporary(std::filesystem::path(path) += ".part")
{
}

OutputFile::~OutputFile()
{
    if (!committed)
        discard();
}

bool OutputFile::create()
{
    out.open(temporary, std::ios::binary | std::ios::trunc);
    return out.is_open();
}

bool OutputFile::commit(const std::string& text)
{
    out << text;
    out.close();
    std::error_code error;
    if (!out.fail())
        std::filesystem::rename(temporary, path, error);
    if (out.fail() || error) {
        discard();
        return false;
    }
    committed = true;
    return true;
}

void OutputFile::discard()
{
    if (out.is_open())
        out.close();
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
}

bool writeFileWhole(const std::filesystem::path& path, const std::string& text)
{
    OutputFile file(path);
    return file.create() && file.commit(text);
}

std::string pathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
