#include "server/DataFolder.h"

#include "config/OutputFile.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <system_error>

DataFolder::DataFolder(std::filesystem::path folder)
    : folder(std::move(folder)), journal_(this->folder / "journal.jsonl"), copies_(this->folder)
{
}

std::filesystem::path defaultDataFolder(const std::function<const char*(const char*)>& environment,
                                        bool windows)
{
    const auto variable = [&](const char* name) -> std::filesystem::path {
        const char* value = environment(name);
        return value ? std::filesystem::path(value) : std::filesystem::path();
    };
    if (windows) {
        if (const std::filesystem::path local = variable("LOCALAPPDATA"); !local.empty())
            return local / "dnx8";
        const std::filesystem::path profile = variable("USERPROFILE");
        return profile.empty() ? profile : profile / "AppData" / "Local" / "dnx8";
    }
    // A relative XDG_DATA_HOME is to be ignored, as an empty one (a POSIX
    // rule, so the same on any system the code is tested on).
    if (const char* data = environment("XDG_DATA_HOME"); data && data[0] == '/')
        return std::filesystem::path(data) / "dnx8";
    const std::filesystem::path home = variable("HOME");
    return home.empty() ? home : home / ".local" / "share" / "dnx8";
}

std::filesystem::path defaultDataFolder()
{
#ifdef _WIN32
    constexpr bool windows = true;
#else
    constexpr bool windows = false;
#endif
    return defaultDataFolder([](const char* name) { return std::getenv(name); }, windows);
}

std::string dataFolderProblem(const std::filesystem::path& folder)
{
    if (folder.empty())
        return "there is no per-user data folder (neither XDG_DATA_HOME nor HOME is set); give --data DIR";
    std::error_code error;
    std::filesystem::path existing = std::filesystem::absolute(folder, error);
    if (error)
        return "cannot find " + pathText(folder);
    while (!std::filesystem::exists(existing, error) && existing.has_relative_path())
        existing = existing.parent_path();
    if (!std::filesystem::is_directory(existing, error))
        return pathText(existing) + " is not a folder";
    // Permissions do not tell (an administrator ignores them, a network
    // share has its own): a file made and removed does.
    std::random_device random;
    const std::filesystem::path probe = existing / (".dnx8-probe-" + std::to_string(random()));
    bool written = false;
    {
        std::ofstream out(probe, std::ios::binary);
        out << "dnx8";
        out.close();
        written = out.good();
    }
    std::filesystem::remove(probe, error);
    if (!written)
        return "cannot write in " + pathText(existing);
    return {};
}
