#include "text/codec/text_positions.h"

#include "text/codec/cp932_lead_byte.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <cstdint>

namespace orvane::codec {

namespace {

#ifdef __SSE2__
// Lanes of 8 or 16 bits compared as the unit's width.
template <typename Unit> __m128i splat(char c)
{
    if constexpr (sizeof(Unit) == 1)
        return _mm_set1_epi8(c);
    else
        return _mm_set1_epi16(c);
}
template <typename Unit> __m128i equal(__m128i a, __m128i b)
{
    if constexpr (sizeof(Unit) == 1)
        return _mm_cmpeq_epi8(a, b);
    else
        return _mm_cmpeq_epi16(a, b);
}
// Subtracting a comparison's all-ones lanes adds 1 to each lane that matched.
template <typename Unit> __m128i addMatches(__m128i counts, __m128i matches)
{
    if constexpr (sizeof(Unit) == 1)
        return _mm_sub_epi8(counts, matches);
    else
        return _mm_sub_epi16(counts, matches);
}
template <typename Unit> qsizetype sumOfLanes(__m128i counts)
{
    if constexpr (sizeof(Unit) == 1) {
        const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
        return _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
    } else {
        alignas(16) int32_t sums[4];
        _mm_store_si128(reinterpret_cast<__m128i *>(sums), _mm_madd_epi16(counts, _mm_set1_epi16(1)));
        return sums[0] + sums[1] + sums[2] + sums[3];
    }
}
#endif

template <typename Unit> qsizetype countEnds(const Unit *units, qsizetype size)
{
    qsizetype ends = 0;
    qsizetype i = 0;
    if (size > 0) {
        ends += units[0] == '\r' || units[0] == '\n';
        i = 1;
    }
#ifdef __SSE2__
    constexpr qsizetype lanes = 16 / sizeof(Unit);
    // A lane counts to at most its largest value: 255 rounds of bytes, 32767 of UTF-16 units.
    constexpr int rounds = sizeof(Unit) == 1 ? 255 : 32767;
    const __m128i cr = splat<Unit>('\r');
    const __m128i lf = splat<Unit>('\n');
    while (size - i >= lanes) {
        __m128i counts = _mm_setzero_si128();
        for (int round = 0; round < rounds && size - i >= lanes; ++round, i += lanes) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i));
            const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i - 1));
            const __m128i lfs = equal<Unit>(v, lf);
            const __m128i lfAfterCr = _mm_and_si128(equal<Unit>(before, cr), lfs);
            counts = addMatches<Unit>(counts, equal<Unit>(v, cr));
            counts = addMatches<Unit>(counts, _mm_andnot_si128(lfAfterCr, lfs));
        }
        ends += sumOfLanes<Unit>(counts);
    }
#endif
    for (; i < size; ++i) {
        const Unit c = units[i];
        ends += c == '\r' || (c == '\n' && units[i - 1] != '\r');
    }
    return ends;
}

} // namespace

qsizetype countLineEnds(const unsigned char *units, qsizetype size) { return countEnds(units, size); }
qsizetype countLineEnds(const char16_t *units, qsizetype size) { return countEnds(units, size); }

void advance(Position &at, QStringView text)
{
    const char16_t *units = text.utf16();
    advance(at, units, text.size(), [units](qsizetype from, qsizetype to) {
        qsizetype columns = 0;
        for (qsizetype k = from; k < to; ++k)
            columns += !(isLowSurrogate(units[k]) && k > from && isHighSurrogate(units[k - 1]));
        return columns;
    });
}

void advanceUtf8(Position &at, const unsigned char *bytes, qsizetype size)
{
    advance(at, bytes, size, [bytes](qsizetype from, qsizetype to) {
        qsizetype columns = 0;
        for (qsizetype k = from; k < to; ++k)
            columns += (bytes[k] & 0xC0) != 0x80;
        return columns;
    });
}

void advanceCp932(Position &at, const unsigned char *bytes, qsizetype size)
{
    // CR and LF are never trail bytes, so a line starts on a character; each character is one
    // UTF-16 unit, hence one column.
    advance(at, bytes, size, [bytes](qsizetype from, qsizetype to) {
        qsizetype columns = 0;
        for (qsizetype k = from; k < to; k += cp932::isLeadByte(bytes[k]) ? 2 : 1)
            ++columns;
        return columns;
    });
}

Position positionOfUnit(const char16_t *text, qsizetype offset)
{
    Position at;
    advance(at, QStringView(text, offset));
    return at;
}

Position positionOfUtf8Byte(const unsigned char *bytes, qsizetype offset)
{
    Position at;
    advanceUtf8(at, bytes, offset);
    return at;
}

Position positionOfCp932Byte(const unsigned char *bytes, qsizetype offset)
{
    Position at;
    advanceCp932(at, bytes, offset);
    return at;
}

qsizetype firstUnpairedSurrogate(const char16_t *text, qsizetype size, bool *endsInHigh)
{
    if (endsInHigh)
        *endsInHigh = false;
    qsizetype i = 0;
    while (i < size) {
#ifdef __SSE2__
        // Skips eight units at a time while none is a surrogate; Japanese text has none.
        const __m128i mask = _mm_set1_epi16(short(0xF800));
        const __m128i surrogate = _mm_set1_epi16(short(0xD800));
        while (size - i >= 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, mask), surrogate)) != 0)
                break;
            i += 8;
        }
        if (i == size)
            break;
#endif
        const char16_t c = text[i];
        if (isHighSurrogate(c)) {
            if (i + 1 == size) {
                if (endsInHigh)
                    *endsInHigh = true;
                return i;
            }
            if (!isLowSurrogate(text[i + 1]))
                return i;
            i += 2;
        } else if (isLowSurrogate(c)) {
            return i;
        } else {
            ++i;
        }
    }
    return size;
}

bool storedAll(const char16_t *src, qsizetype bad, qsizetype size, EncodeError *error)
{
    if (bad == size)
        return true;
    if (error) {
        error->at = positionOfUnit(src, bad);
        error->codePoint = src[bad];
        if (isHighSurrogate(src[bad]) && bad + 1 < size && isLowSurrogate(src[bad + 1]))
            error->codePoint = QChar::surrogateToUcs4(src[bad], src[bad + 1]);
    }
    return false;
}

} // namespace orvane::codec
