#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include <emmintrin.h> // SSE2, part of every x86-64 processor

// The shape of nearly every field of a real point file: [sign] digits
// [. digits], at most fifteen digits and the point within sixteen bytes of
// its start, no exponent. Such a field is read here without a loop or a
// branch on its digits; anything else is left to the general roads of
// NumberField.cpp, which give the same values.
namespace plain_field {

// Where a field may end. Line: at a blank or at end, the end of a line.
// Unchecked: anywhere; the caller looks at what fieldEnd points to (which
// may lie at or behind end: then it is nothing the caller may use).
enum class Bound { Line, Unchecked };

// Bytes behind end that read may load (never use).
inline constexpr std::size_t ReadBehind = 16;

// Index of the lowest set bit of a word known to have one: the set bit
// given with it spares the test for zero that std::countr_zero would need on
// a processor without a count instruction.
inline int lowestSetBit(std::uint64_t word, std::uint64_t sentinel)
{
    return std::countr_zero(word | sentinel);
}

inline bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Reads the field at p, whose storage must stay readable for ReadBehind
// bytes behind end. On success: value is set, fieldEnd points behind the
// field. Otherwise false, and neither is touched. Always inlined: in the
// point reader's loop the results then stay in registers.
//
// How: the 16 bytes behind the sign are compared at once, giving the end of
// the run of digits and points and the place of the point. The digits left
// of the point are then moved one byte to the right, over the point, so that
// all the digits stand side by side ending at byte 15 at most; read as a
// 16-digit number N (four multiply-add steps), N is exact in a double (at
// most fifteen digits, as byte 0 is free), and the field's value is
// N / 10^(15 - whole) with whole the number of digits left of the point: one
// division of exact doubles, so correctly rounded.
template <Bound FieldEnd>
[[gnu::always_inline]] inline bool read(const char* p, const char* end, const char*& fieldEnd, double& value)
{
    alignas(16) static constexpr unsigned char prefixMasks[32] = {
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    // The first n bytes set, the others clear (n = 0..16).
    const auto prefix = [](int n) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(prefixMasks + 16 - n));
    };
    if (FieldEnd == Bound::Line && p == end)
        return false;
    const bool negative = *p == '-';
    p += negative || *p == '+';
    const std::ptrdiff_t available = end - p;
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i digitValues = _mm_sub_epi8(block, _mm_set1_epi8('0'));
    const __m128i digits = _mm_cmpeq_epi8(_mm_min_epu8(digitValues, _mm_set1_epi8(9)), digitValues);
    const unsigned points =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8('.'))));
    unsigned stops = ~(static_cast<unsigned>(_mm_movemask_epi8(digits)) | points);
    if (FieldEnd == Bound::Line && available < 16)
        stops |= ~0u << available;                 // what lies behind the line's end belongs to no field
    const int run = lowestSetBit(stops, 1u << 16); // 16 when the run fills the block
    const unsigned pointsInRun = points & ~(~0u << run);
    const int whole = lowestSetBit(pointsInRun, 1u << run);
    const bool hasPoint = pointsInRun != 0;
    // At most one point, at least one digit, and the end of the run seen.
    if ((pointsInRun & (pointsInRun - 1)) != 0 || run - hasPoint == 0 || run > 15)
        return false;
    if (FieldEnd == Bound::Line && run < available && !isBlank(p[run]))
        return false;
    // Digits side by side at bytes 1..run-hasPoint, everything else zero.
    const __m128i wholeMask = prefix(whole + 1);
    const __m128i joined = _mm_or_si128(_mm_and_si128(_mm_slli_si128(digitValues, 1), wholeMask),
                                        _mm_andnot_si128(wholeMask, _mm_and_si128(digitValues, prefix(run))));
    // Pairs (the first digit of each pair is the low byte), then fours, then eights.
    const __m128i pairs =
        _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(joined, _mm_set1_epi16(0xFF)), _mm_set1_epi16(10)),
                      _mm_srli_epi16(joined, 8));
    const __m128i fours = _mm_madd_epi16(pairs, _mm_set1_epi32(0x00010064)); // 100, 1
    const __m128i eights =
        _mm_madd_epi16(_mm_packs_epi32(fours, fours), _mm_set1_epi32(0x00012710)); // 10000, 1
    const auto halves = static_cast<std::uint64_t>(_mm_cvtsi128_si64(eights));
    const std::uint64_t number = (halves & 0xFFFFFFFFu) * 100000000u + (halves >> 32);
    // Signed, the conversion is a single instruction; the number is below 10^15.
    const double result = static_cast<double>(static_cast<std::int64_t>(number)) / powersOfTen[15 - whole];
    // The sign goes in as a bit: a branch on it would be mispredicted at
    // every change of sign, which in a file of measurements is random.
    value = std::bit_cast<double>(std::bit_cast<std::uint64_t>(result) | std::uint64_t{negative} << 63);
    fieldEnd = p + run;
    return true;
}

} // namespace plain_field
