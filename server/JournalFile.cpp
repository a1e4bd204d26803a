#include "server/JournalFile.h"

#include "server/CoreCalls.h"

#include "config/OutputFile.h"

#include <deque>
#include <fstream>
#include <system_error>

JournalFile::JournalFile(std::filesystem::path path, std::size_t readAtMost)
    : file(std::move(path)), readAtMost(static_cast<std::streamoff>(readAtMost))
{
}

bool JournalFile::ready(std::string& problem)
{
    std::lock_guard lock(mutex);
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (!out.is_open()) {
        problem = "cannot write the journal " + pathText(file);
        return false;
    }
    return true;
}

bool JournalFile::append(const Json& line, std::string& problem)
{
    std::string text = core::jsonText(line);
    text += '\n';
    std::lock_guard lock(mutex);
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    {
        // A line cut short by a killed program is ended, so this one stands
        // on its own.
        std::ifstream in(file, std::ios::binary | std::ios::ate);
        if (in.is_open() && in.tellg() > 0) {
            in.seekg(-1, std::ios::end);
            char last = '\n';
            if (in.get(last) && last != '\n')
                text.insert(text.begin(), '\n');
        }
    }
    std::ofstream out;
    out.rdbuf()->pubsetbuf(nullptr, 0); // one write of the whole line
    out.open(file, std::ios::binary | std::ios::app);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out.is_open() || out.fail()) {
        problem = "cannot append to the journal " + pathText(file);
        return false;
    }
    return true;
}

JournalFile::Lines JournalFile::read(const std::function<bool(const Json&)>& keep, std::size_t limit) const
{
    std::string text;
    bool more = false;
    std::size_t start = 0;
    {
        std::lock_guard lock(mutex);
        std::ifstream in(file, std::ios::binary | std::ios::ate);
        if (!in.is_open())
            return {};
        // Years of writes: the newest lines are at the end.
        const std::streamoff size = in.tellg();
        const std::streamoff from = size > readAtMost ? size - readAtMost : 0;
        in.seekg(from);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (from > 0) {
            // The first line is likely a part of one.
            start = text.find('\n');
            start = start == std::string::npos ? text.size() : start + 1;
            more = true;
        }
    }
    std::deque<Json> kept;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            break; // the rest is a line cut short, or nothing
        Json line = Json::parse(text.begin() + static_cast<std::ptrdiff_t>(start),
                                text.begin() + static_cast<std::ptrdiff_t>(end), nullptr, false);
        start = end + 1;
        if (line.is_discarded() || !line.is_object() || !keep(line))
            continue;
        kept.push_back(std::move(line));
        if (kept.size() > limit) {
            kept.pop_front();
            more = true;
        }
    }
    return {{std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end())}, more};
}
