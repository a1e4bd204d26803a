#include "cli/InputFile.h"

#include "cli/PointFileImport.h"

#include <filesystem>
#include <system_error>

std::string notRegularFileKind(const std::string& name)
{
    namespace fs = std::filesystem;
    std::error_code error;
    // The status alone: opening a FIFO or a terminal could block.
    const fs::file_status status = fs::status(pathFromArgument(name), error);
    switch (status.type()) {
    case fs::file_type::directory:
        return "a folder";
    case fs::file_type::character:
        return "a terminal device";
    case fs::file_type::block:
        return "a disk device";
    case fs::file_type::fifo:
        return "a pipe (FIFO)";
    case fs::file_type::socket:
        return "a socket";
    default:
        return "";
    }
}
