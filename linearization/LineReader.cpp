#include "linearization/LineReader.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include <emmintrin.h> // SSE2, part of every x86-64 processor

namespace {

constexpr std::size_t BufferSize = 64 * 1024;
constexpr char EndOfFile = 0x1A;

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r' || c == EndOfFile;
}

// First line-end byte in [p, limit), or limit. Sixteen bytes are compared
// at once and the first match is taken from the mask, so a short line costs
// a step or two rather than one per byte.
const char* findLineEnd(const char* p, const char* limit)
{
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i eof = _mm_set1_epi8(EndOfFile);
    while (limit - p >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i ends = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr)),
                                          _mm_cmpeq_epi8(block, eof));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(ends));
        if (mask != 0)
            return p + std::countr_zero(mask);
        p += 16;
    }
    while (p < limit && !isLineEnd(*p))
        ++p;
    return p;
}

} // namespace

LineReader::LineReader() : buffer(std::make_unique<char[]>(BufferSize + Padding)) {}

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
