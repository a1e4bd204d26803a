#include "cli/OutputFile.h"

#include "cli/Failure.h"
#include "cli/PointFileImport.h"

#include <system_error>

OutputFile::OutputFile(const std::string& name)
    : path(pathFromArgument(name)), temporary(std::filesystem::path(path) += ".part")
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

bool openOutputBeforeSending(const std::string& name, std::optional<OutputFile>& output)
{
    if (name.empty())
        return true;
    output.emplace(name);
    if (output->create())
        return true;
    output.reset();
    fail(0, "cannot write " + name + "; check the folder and the name. Nothing was sent.");
    return false;
}
