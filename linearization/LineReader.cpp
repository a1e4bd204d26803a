#include "linearization/LineReader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t BufferSize = 64 * 1024;
constexpr char EndOfFile = 0x1A;

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r' || c == EndOfFile;
}

// Whether any byte of the word is zero (the classic bit trick, exact for
// the question "any zero at all").
bool hasZeroByte(std::uint64_t v)
{
    return ((v - 0x0101010101010101u) & ~v & 0x8080808080808080u) != 0;
}

// First line-end byte in [p, limit), or limit. Eight bytes per step while
// none of them ends the line; lines are short, but a step per byte is what
// a reading of millions of them spends most on.
const char* findLineEnd(const char* p, const char* limit)
{
    constexpr std::uint64_t Ones = 0x0101010101010101u;
    while (limit - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (hasZeroByte(word ^ (Ones * '\n')) || hasZeroByte(word ^ (Ones * '\r')) ||
            hasZeroByte(word ^ (Ones * static_cast<unsigned char>(EndOfFile))))
            break;
        p += 8;
    }
    while (p < limit && !isLineEnd(*p))
        ++p;
    return p;
}

} // namespace

LineReader::LineReader() : buffer(std::make_unique<char[]>(BufferSize)) {}

bool LineReader::open(const std::filesystem::path& fileName)
{
    file.close();
    file.clear();
    // Binary: line ends and Ctrl-Z are handled here, the same on every platform.
    file.open(fileName, std::ios::in | std::ios::binary);
    position = end = 0;
    afterCr = false;
    finished = !file.is_open();
    return file.is_open();
}

bool LineReader::refill()
{
    if (finished)
        return false;
    const std::streamsize got = file.rdbuf()->sgetn(buffer.get(), BufferSize);
    if (got <= 0) {
        finished = true;
        return false;
    }
    position = 0;
    end = static_cast<std::size_t>(got);
    return true;
}

bool LineReader::nextLine(std::string_view& result)
{
    std::size_t kept = 0; // bytes of a line that began before the last refill
    bool partial = false;
    for (;;) {
        if (position == end && !refill())
            break;
        if (afterCr) {
            afterCr = false;
            if (buffer[position] == '\n') {
                ++position;
                continue;
            }
        }
        const char* start = buffer.get() + position;
        const char* limit = buffer.get() + end;
        const char* stop = findLineEnd(start, limit);
        const std::size_t run = static_cast<std::size_t>(stop - start);
        if (stop == limit) {
            // The line goes on in the next block: keep what may still be needed.
            const std::size_t take = std::min(run, MaxLineLength - kept);
            std::memcpy(line + kept, start, take);
            kept += take;
            partial = true;
            position = end;
            continue;
        }
        if (*stop == EndOfFile) {
            finished = true;
            position = end;
        } else {
            afterCr = *stop == '\r';
            position = static_cast<std::size_t>(stop - buffer.get()) + 1;
        }
        if (!partial) {
            // The common case: the whole line lies in the buffer, no copy.
            result = std::string_view(start, std::min(run, MaxLineLength));
            return true;
        }
        const std::size_t take = std::min(run, MaxLineLength - kept);
        std::memcpy(line + kept, start, take);
        result = std::string_view(line, kept + take);
        return true;
    }
    if (!partial)
        return false;
    result = std::string_view(line, kept);
    return true;
}
