#include "linearization/LineReader.h"

namespace {

constexpr std::size_t BufferSize = 64 * 1024;
constexpr char EndOfFile = 0x1A;

} // namespace

// The buffer is only read where a read has filled it: no need to clear it.
LineReader::LineReader() : buffer(std::make_unique_for_overwrite<char[]>(BufferSize)) {}

bool LineReader::open(const FileName& fileName)
{
    // Binary: line ends and Ctrl-Z are handled here, the same on every platform.
#ifdef _WIN32
    file.reset(_wfopen(fileName.c_str(), L"rb"));
#else
    file.reset(std::fopen(fileName.c_str(), "rb"));
#endif
    // Unbuffered: each block is read straight into our buffer.
    if (file)
        std::setvbuf(file.get(), nullptr, _IONBF, 0);
    position = end = 0;
    afterCr = false;
    finished = !file;
    return file != nullptr;
}

bool LineReader::refill()
{
    if (finished)
        return false;
    const std::size_t got = std::fread(buffer.get(), 1, BufferSize, file.get());
    if (got == 0) {
        finished = true;
        return false;
    }
    position = 0;
    end = got;
    return true;
}

bool LineReader::nextLine(std::string_view& result)
{
    std::size_t length = 0;
    bool started = false; // a byte of this line was seen
    while (position < end || refill()) {
        const char c = buffer[position++];
        if (afterCr) {
            afterCr = false;
            if (c == '\n')
                continue;
        }
        if (c == '\n' || c == '\r' || c == EndOfFile) {
            afterCr = c == '\r';
            if (c == EndOfFile) {
                finished = true;
                position = end;
            }
            result = std::string_view(line, length);
            return true;
        }
        started = true;
        if (length < MaxLineLength)
            line[length++] = c;
    }
    result = std::string_view(line, length);
    return started;
}
