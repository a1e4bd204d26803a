#include "linearization/LineReader.h"

namespace {

constexpr std::size_t BufferSize = 64 * 1024;
constexpr char EndOfFile = 0x1A;

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
    std::size_t length = 0;
    bool any = false; // whether the line has begun: a last line without line end still counts
    for (;;) {
        if (position == end && !refill())
            break;
        const char c = buffer[position++];
        if (afterCr) {
            afterCr = false;
            if (c == '\n')
                continue;
        }
        if (c == EndOfFile) {
            finished = true;
            position = end;
            any = true;
            break;
        }
        if (c == '\r' || c == '\n') {
            afterCr = c == '\r';
            any = true;
            break;
        }
        any = true;
        if (length < MaxLineLength)
            line[length++] = c;
    }
    if (!any)
        return false;
    result = std::string_view(line, length);
    return true;
}
