#pragma once

#include "server/AsFoundCopies.h"
#include "server/JournalFile.h"

#include <filesystem>
#include <functional>
#include <string>

// Where the server keeps what nothing may lose: the journal of every write
// and the converters' configurations as found before the first write.
class DataFolder {
public:
    explicit DataFolder(std::filesystem::path folder);

    const std::filesystem::path& path() const { return folder; }
    JournalFile& journal() { return journal_; }
    AsFoundCopies& copies() { return copies_; }

private:
    const std::filesystem::path folder;
    JournalFile journal_;
    AsFoundCopies copies_;
};

// The per-user data folder: $XDG_DATA_HOME/dnx8 (an absolute one), else
// $HOME/.local/share/dnx8; on Windows %LOCALAPPDATA%\dnx8 (else the
// profile's AppData\Local\dnx8). Empty when the
// environment names none. environment answers a variable's value or null.
std::filesystem::path defaultDataFolder(const std::function<const char*(const char*)>& environment,
                                        bool windows);
// The same for this system and its environment.
std::filesystem::path defaultDataFolder();

// Why the server could not write to folder, or empty when it can. A folder
// that does not exist yet is not made here (it is made at the first write),
// but the nearest one that exists must take a new file.
std::string dataFolderProblem(const std::filesystem::path& folder);
