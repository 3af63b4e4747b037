#include "text/chars/convert.h"

#include "text/chars/case_table.h"
#include "text/chars/conversion_tables.h"
#include "text/chars/kana_table.h"
#include "text/chars/voiced_mark.h"
#include "text/chars/width_table.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Runs a text through its kind's tables (conversion_tables.h): the copied prefix that does not
// change, 8-unit blocks mapped by the offsets alone, the table for the rest, and special() for
// the units that need their neighbours.

namespace orvane::chars {

namespace {

// The one-block kinds are Wide and Narrow restricted to one block, so they share their specials.
constexpr bool widens(ConversionKind k) { return k == ConversionKind::Wide || k == ConversionKind::WideKana; }
constexpr bool narrows(ConversionKind k)
{
    return k == ConversionKind::Narrow || k == ConversionKind::NarrowKana;
}

inline char32_t decodePair(char16_t high, char16_t low)
{
    return 0x10000 + ((char32_t(high) - 0xD800) << 10) + (low - 0xDC00);
}

template <ConversionKind K> char32_t caseOf(char32_t cp)
{
    if constexpr (K == ConversionKind::Upper)
        return lookUpCase(std::begin(upperCaseRows), std::end(upperCaseRows), cp);
    else
        return lookUpCase(std::begin(lowerCaseRows), std::end(lowerCaseRows), cp);
}

// What the half-width mark at p makes of the half-width letter before it, or 0.
inline char16_t voicedBefore(const Tables &t, const char16_t *begin, const char16_t *p)
{
    if (p == begin || !mayJoinVoicedMark(p[-1]))
        return 0;
    return t.voiced[*p - halfWidthVoicedMark][p[-1] - 0xFF60];
}

inline bool isHalfWidthLetter(char16_t c)
{
    return c >= halfWidthLetterRange.first && c <= halfWidthLetterRange.last;
}

struct Step {
    const char16_t *p; // the input after what was taken
    char16_t *o; // the output after what was written
};

// Converts the unit at p whose table entry is kSpecial. A half-width mark looks back at the
// letter before it, which the table has already written as the last output unit (a letter always
// changes, so it is never part of the copied prefix).
template <ConversionKind K>
Step special(const Tables &t, const char16_t *begin, const char16_t *p, const char16_t *end, char16_t *o)
{
    const char16_t c = *p;
    if constexpr (K == ConversionKind::Upper || K == ConversionKind::Lower) {
        if (QChar::isHighSurrogate(c) && end - p >= 2 && QChar::isLowSurrogate(p[1])) {
            const char32_t to = caseOf<K>(decodePair(c, p[1]));
            *o++ = char16_t(0xD800 + ((to - 0x10000) >> 10));
            *o++ = char16_t(0xDC00 + ((to - 0x10000) & 0x3FF));
            return {p + 2, o};
        }
    } else if constexpr (widens(K)) {
        if (c == halfWidthVoicedMark || c == halfWidthSemiVoicedMark) {
            if (const char16_t composed = voicedBefore(t, begin, p))
                o[-1] = composed;
            else
                *o++ = halfWidthKanaRows[c - halfWidthKanaFirst].wide;
            return {p + 1, o};
        }
    } else if constexpr (narrows(K)) {
        if (c >= 0x30A0 && c < 0x3100 && t.narrowPairs[c - 0x30A0][0]) {
            *o++ = t.narrowPairs[c - 0x30A0][0];
            *o++ = t.narrowPairs[c - 0x30A0][1];
            return {p + 1, o};
        }
    } else if constexpr (K == ConversionKind::Hiragana) {
        // A mark after a half-width letter belongs to it; a lone mark stays as it is.
        if ((c == halfWidthVoicedMark || c == halfWidthSemiVoicedMark) && p != begin
            && isHalfWidthLetter(p[-1])) {
            if (const char16_t composed = voicedBefore(t, begin, p))
                o[-1] = t.at(composed);
            else
                *o++ = halfWidthKanaRows[c - halfWidthKanaFirst].wide;
            return {p + 1, o};
        }
    }
    *o++ = c;
    return {p + 1, o};
}

// Whether special() gives something other than its input at p.
template <ConversionKind K> bool specialChanges(const char16_t *begin, const char16_t *p, const char16_t *end)
{
    if (*p == 0xFFFF)
        return false;
    if constexpr (K == ConversionKind::Upper || K == ConversionKind::Lower) {
        if (!(end - p >= 2 && QChar::isLowSurrogate(p[1])))
            return false;
        const char32_t cp = decodePair(p[0], p[1]);
        return caseOf<K>(cp) != cp;
    } else if constexpr (K == ConversionKind::Hiragana) {
        return p != begin && isHalfWidthLetter(p[-1]);
    } else {
        return true;
    }
}

#ifdef __SSE2__
inline __m128i inRange(__m128i v, __m128i bias, __m128i limit)
{
    return _mm_cmplt_epi16(_mm_sub_epi16(v, bias), limit);
}

// A kind's block description, copied to the stack so that it stays in registers during a text.
struct BlockMapper {
    explicit BlockMapper(const Tables &t)
        : asciiInactive(t.asciiInactive)
    {
        for (int k = 0; k < kMaxOffsets; ++k) {
            offBias[k] = t.offBias[k];
            offLimit[k] = t.offLimit[k];
            offDelta[k] = t.offDelta[k];
        }
        for (int k = 0; k < kMaxActive; ++k) {
            actBias[k] = t.actBias[k];
            actLimit[k] = t.actLimit[k];
        }
    }

    // Maps 8 units at once when none of them needs the table; returns false otherwise.
    inline bool map(__m128i v, __m128i &result) const
    {
        const __m128i high = _mm_and_si128(v, _mm_set1_epi16(short(0xFF80)));
        const bool ascii = _mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) == 0xFFFF;
        if (!ascii || !asciiInactive) {
            const __m128i act = _mm_or_si128(
                _mm_or_si128(inRange(v, actBias[0], actLimit[0]), inRange(v, actBias[1], actLimit[1])),
                _mm_or_si128(inRange(v, actBias[2], actLimit[2]), inRange(v, actBias[3], actLimit[3])));
            if (_mm_movemask_epi8(act) != 0)
                return false;
        }
        const __m128i add
            = _mm_or_si128(_mm_or_si128(_mm_and_si128(inRange(v, offBias[0], offLimit[0]), offDelta[0]),
                                        _mm_and_si128(inRange(v, offBias[1], offLimit[1]), offDelta[1])),
                           _mm_and_si128(inRange(v, offBias[2], offLimit[2]), offDelta[2]));
        result = _mm_add_epi16(v, add);
        return true;
    }

    __m128i offBias[kMaxOffsets];
    __m128i offLimit[kMaxOffsets];
    __m128i offDelta[kMaxOffsets];
    __m128i actBias[kMaxActive];
    __m128i actLimit[kMaxActive];
    bool asciiInactive;
};
static_assert(kMaxOffsets == 3 && kMaxActive == 4, "BlockMapper::map spells the ranges out");
#endif

template <ConversionKind K>
const char16_t *firstChange(const Tables &t, const char16_t *const begin, const char16_t *const end)
{
    const char16_t *p = begin;
    auto changes = [&t, begin, end](const char16_t *q) {
        const char16_t m = t.at(*q);
        return m != *q && (m != kSpecial || specialChanges<K>(begin, q, end));
    };
#ifdef __SSE2__
    const BlockMapper mapper(t);
    for (; end - p >= 8; p += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        __m128i r;
        if (mapper.map(v, r)) {
            const int same = _mm_movemask_epi8(_mm_cmpeq_epi16(v, r));
            if (same != 0xFFFF)
                return p + __builtin_ctz(unsigned(~same)) / 2;
            continue;
        }
        for (const char16_t *q = p; q < p + 8; ++q) {
            if (changes(q))
                return q;
        }
    }
#endif
    for (; p < end; ++p) {
        if (changes(p))
            return p;
    }
    return end;
}

template <ConversionKind K> QString convert(const QString &text)
{
    const Tables &t = tables<K>();
    const char16_t *const begin = reinterpret_cast<const char16_t *>(text.utf16());
    const char16_t *const end = begin + text.size();
    const char16_t *p = firstChange<K>(t, begin, end);
    if (p == end)
        return text;

    // Narrow may double the text; it grows the result as it goes rather than reserving that.
    constexpr qsizetype kRoom = 2 * 8 + 2; // the most one step below writes
    const qsizetype n = text.size();
    QString result(narrows(K) ? n + n / 8 + kRoom : n + kRoom, Qt::Uninitialized);
    char16_t *data = reinterpret_cast<char16_t *>(result.data());
    std::memcpy(data, begin, size_t(p - begin) * sizeof(char16_t));
    char16_t *o = data + (p - begin);
#ifdef __SSE2__
    const BlockMapper mapper(t);
    // After a block that needed the table the next one goes there straight away: in Japanese
    // text such blocks come in runs.
    bool tableNext = false;
#endif
    while (end - p >= 8) {
        if constexpr (narrows(K)) {
            if (data + result.size() - o < kRoom) {
                const qsizetype written = o - data;
                result.resize(result.size() + result.size() / 2 + kRoom);
                data = reinterpret_cast<char16_t *>(result.data());
                o = data + written;
            }
        }
#ifdef __SSE2__
        if (!tableNext) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            __m128i r;
            if (mapper.map(v, r)) {
                _mm_storeu_si128(reinterpret_cast<__m128i *>(o), r);
                o += 8;
                p += 8;
                continue;
            }
        }
        tableNext = !tableNext;
#endif
        // Eight units through the table, written before looking for a special among them; the
        // units before the first special stand, and the special goes its own way.
        bool anySpecial = false;
#ifdef __GNUC__
#pragma GCC unroll 8
#endif
        for (int k = 0; k < 8; ++k) {
            const char16_t m = t.at(p[k]);
            o[k] = m;
            anySpecial |= m == kSpecial;
        }
        if (!anySpecial) {
            o += 8;
            p += 8;
            continue;
        }
        int plain = 0;
        while (o[plain] != kSpecial)
            ++plain;
        const Step step = special<K>(t, begin, p + plain, end, o + plain);
        p = step.p;
        o = step.o;
    }
    if constexpr (narrows(K)) {
        if (data + result.size() - o < kRoom) {
            const qsizetype written = o - data;
            result.resize(written + kRoom);
            data = reinterpret_cast<char16_t *>(result.data());
            o = data + written;
        }
    }
    while (p < end) {
        const char16_t m = t.at(*p);
        if (m != kSpecial) {
            *o++ = m;
            ++p;
        } else {
            const Step step = special<K>(t, begin, p, end, o);
            p = step.p;
            o = step.o;
        }
    }
    result.truncate(o - data);
    return result;
}

} // namespace

QString convert(ConversionKind kind, const QString &text)
{
    switch (kind) {
    case ConversionKind::Upper:
        return convert<ConversionKind::Upper>(text);
    case ConversionKind::Lower:
        return convert<ConversionKind::Lower>(text);
    case ConversionKind::Wide:
        return convert<ConversionKind::Wide>(text);
    case ConversionKind::Narrow:
        return convert<ConversionKind::Narrow>(text);
    case ConversionKind::Katakana:
        return convert<ConversionKind::Katakana>(text);
    case ConversionKind::Hiragana:
        return convert<ConversionKind::Hiragana>(text);
    case ConversionKind::NarrowAscii:
        return convert<ConversionKind::NarrowAscii>(text);
    case ConversionKind::WideAscii:
        return convert<ConversionKind::WideAscii>(text);
    case ConversionKind::NarrowKana:
        return convert<ConversionKind::NarrowKana>(text);
    case ConversionKind::WideKana:
        return convert<ConversionKind::WideKana>(text);
    }
    // An out-of-range kind converts nothing rather than guessing.
    return text;
}

} // namespace orvane::chars
