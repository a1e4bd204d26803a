#pragma once

#include "linearization/LineReader.h"
#include "linearization/PlainField.h"

#include <cstdint>

#include <emmintrin.h> // SSE2, part of every x86-64 processor

// The valid points of a point file, in file order: comment lines (empty or
// starting with ";") and lines whose first two fields are not both numbers
// are skipped; anything after the second field is ignored.
class PointReader {
public:
    bool open(const FileName& fileName);
    // x and y of the next valid line; false at the end of the file.
    bool nextPoint(double& x, double& y);

private:
    // The general road, for any line; nextPoint takes the common ones itself.
    bool nextPointSlowly(double& x, double& y);

    LineReader lines;
};

// Nearly every line is two plain fields, the first at the line's start,
// blanks between them, the second ended by the line's end: such a line is
// read straight from the buffer, here in the header, so that the compiler
// may take it into the caller's loop. Anything else takes the general road,
// which gives the same points.
//
// The line's blanks and its end are found from the first 32 bytes at once,
// before either field is read: the start of the next line then depends on
// those 32 bytes only, not on the reading of the fields, so the processor
// goes on with the next line while the numbers of this one are worked out.
inline bool PointReader::nextPoint(double& x, double& y)
{
    using plain_field::Bound;
    const char* start = nullptr;
    const char* limit = nullptr;
    if (!lines.peek(start, limit))
        return nextPointSlowly(x, y);
    static_assert(LineReader::Padding >= 32 && LineReader::Padding >= plain_field::ReadBehind);
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(start));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(start + 16));
    // Bit i stands for byte i.
    const auto either = [&](char a, char b) {
        const __m128i first = _mm_set1_epi8(a);
        const __m128i other = _mm_set1_epi8(b);
        const auto mask = [&](__m128i bytes) {
            return static_cast<std::uint32_t>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, first), _mm_cmpeq_epi8(bytes, other))));
        };
        return mask(low) | mask(high) << 16;
    };
    const std::uint32_t ends = either('\n', '\r');
    const std::uint32_t blanks = either(' ', '\t');
    using plain_field::lowestSetBit;
    constexpr std::uint64_t none = std::uint64_t{1} << 32;
    const int lineEnd = lowestSetBit(ends, none);      // 32: the line goes on
    const int firstBlank = lowestSetBit(blanks, none); // where the first field must end
    const int second = lowestSetBit(~std::uint64_t{blanks} & (~std::uint64_t{0} << firstBlank),
                                    none); // where the second starts
    const char* xEnd = nullptr;
    const char* yEnd = nullptr;
    double first = 0;
    double other = 0;
    // The line's end and the byte behind it lie before the limit.
    if (lineEnd < 32 && lineEnd + 1 < limit - start && firstBlank < second && second < lineEnd &&
        plain_field::read<Bound::Unchecked>(start, limit, xEnd, first) && xEnd == start + firstBlank &&
        plain_field::read<Bound::Unchecked>(start + second, limit, yEnd, other) && yEnd == start + lineEnd) {
        // CR LF ends the line at once when both are at hand.
        const char* last = start + lineEnd;
        if (*last == '\r' && last[1] == '\n')
            ++last;
        lines.endLineAt(last);
        x = first;
        y = other;
        return true;
    }
    return nextPointSlowly(x, y);
}
