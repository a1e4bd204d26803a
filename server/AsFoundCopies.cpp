#include "server/AsFoundCopies.h"

#include "config/OutputFile.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <system_error>

namespace {

std::string prefixOf(std::int64_t serialNumber)
{
    return "as-found-" + std::to_string(serialNumber) + "-";
}

// "20240514T093000Z", the time in a name, and its readable form.
std::string compactUtc(std::chrono::system_clock::time_point at)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(at);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

std::string readableUtc(const std::string& compact)
{
    // 20240514T093000Z -> 2024-05-14T09:30:00Z
    return compact.substr(0, 4) + "-" + compact.substr(4, 2) + "-" + compact.substr(6, 2) + "T" +
           compact.substr(9, 2) + ":" + compact.substr(11, 2) + ":" + compact.substr(13, 2) + "Z";
}

// The time part of one of our names, or empty for a name we did not make.
std::string timeOf(const std::string& name, const std::string& prefix)
{
    if (!name.starts_with(prefix) || !name.ends_with(".json"))
        return {};
    const std::string rest = name.substr(prefix.size(), name.size() - prefix.size() - 5);
    const std::string time = rest.substr(0, 16);
    if (time.size() != 16 || time[8] != 'T' || time[15] != 'Z')
        return {};
    for (std::size_t i = 0; i < 15; ++i)
        if (i != 8 && (time[i] < '0' || time[i] > '9'))
            return {};
    const std::string suffix = rest.substr(16);
    if (!suffix.empty() &&
        (suffix[0] != '-' || suffix.size() < 2 ||
         !std::all_of(suffix.begin() + 1, suffix.end(), [](char c) { return c >= '0' && c <= '9'; })))
        return {};
    return time;
}

} // namespace

AsFoundCopies::AsFoundCopies(std::filesystem::path folder) : folder(std::move(folder)) {}

bool AsFoundCopies::save(std::int64_t serialNumber, std::chrono::system_clock::time_point at,
                         const std::string& text, std::string& name, std::string& problem)
{
    std::lock_guard lock(mutex);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string stem = prefixOf(serialNumber) + compactUtc(at);
    name = stem + ".json";
    for (int n = 2; std::filesystem::exists(folder / name, error); ++n)
        name = stem + "-" + std::to_string(n) + ".json";
    if (!writeFileWhole(folder / name, text)) {
        problem = "cannot write " + pathText(folder / name);
        return false;
    }
    return true;
}

std::vector<AsFoundCopies::Copy> AsFoundCopies::list(std::int64_t serialNumber) const
{
    const std::string prefix = prefixOf(serialNumber);
    std::vector<Copy> copies;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (!entry->is_regular_file(error))
            continue;
        const std::string name = pathText(entry->path().filename());
        if (const std::string time = timeOf(name, prefix); !time.empty())
            copies.push_back({name, readableUtc(time)});
    }
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        return a.time != b.time                 ? a.time > b.time
               : a.name.size() != b.name.size() ? a.name.size() > b.name.size()
                                                : a.name > b.name;
    });
    return copies;
}

std::optional<std::string> AsFoundCopies::read(std::int64_t serialNumber, const std::string& name) const
{
    const std::vector<Copy> copies = list(serialNumber);
    const auto found =
        std::find_if(copies.begin(), copies.end(), [&](const Copy& copy) { return copy.name == name; });
    if (found == copies.end())
        return std::nullopt;
    std::ifstream in(folder / found->name, std::ios::binary);
    if (!in.is_open())
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
