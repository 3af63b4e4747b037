#include "text/chars/char_conv.h"

#include "text/chars/case_table.h"
#include "text/chars/conversion_kind.h"
#include "text/chars/kana_table.h"
#include "text/chars/voiced_mark.h"
#include "text/chars/width_table.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Each conversion runs through one engine: a 64K table of what every UTF-16 unit becomes, a
// marker for the units that need their neighbours (surrogate pairs, voiced marks, characters that
// become two), and for SSE2 a description of 8-unit blocks that can be mapped without the table.

namespace orvane::chars {

namespace {

// The one-block kinds are Wide and Narrow restricted to one block, so they share their specials.
constexpr bool widens(ConversionKind k) { return k == ConversionKind::Wide || k == ConversionKind::WideKana; }
constexpr bool narrows(ConversionKind k)
{
    return k == ConversionKind::Narrow || k == ConversionKind::NarrowKana;
}

// Which rows of the width tables a width conversion uses.
struct WidthBlocks {
    bool ascii; // space and U+0021–U+007E, or their full-width forms
    bool kana; // the half-width block U+FF61–U+FF9F, or its full-width forms
    bool symbols; // ¢ £ ¥ ¦ ¬ ¯ ₩ (Wide only)
};

// Table value of a unit that its kind's special() handles. U+FFFF itself maps to U+FFFF, which
// special() also gives back unchanged.
constexpr char16_t kSpecial = 0xFFFF;

struct UnitRange {
    char16_t first;
    char16_t last;
};

// A block of units that a kind maps by adding one constant (a–z → A–Z, ぁ–ゖ → ァ–ヶ).
struct OffsetRange {
    char16_t first;
    char16_t last;
    char16_t delta; // added modulo 2^16
};

constexpr int kMaxOffsets = 3;
constexpr int kMaxActive = 4;

struct Tables {
    char16_t map[0x10000]; // what each unit becomes
    char16_t at(char16_t c) const { return map[c]; }
    std::array<OffsetRange, kMaxOffsets> offsets {};
    int offsetCount = 0;
    // A few ranges that cover every unit not mapped by the offsets; a block with none of them is
    // mapped by the offsets alone.
    std::array<UnitRange, kMaxActive> active {};
    int activeCount = 0;
#ifdef __SSE2__
    __m128i offBias[kMaxOffsets];
    __m128i offLimit[kMaxOffsets];
    __m128i offDelta[kMaxOffsets];
    __m128i actBias[kMaxActive];
    __m128i actLimit[kMaxActive];
    bool asciiInactive = true; // no active range reaches below U+0080
#endif
    // What a half-width letter and a following ﾞ (row 0) or ﾟ (row 1) become, or 0; by letter −
    // U+FF60.
    char16_t voiced[2][0x40] = {};
    // Narrow: the two half-width units of a full-width katakana, by katakana − U+30A0.
    char16_t narrowPairs[0x60][2] = {};
};

char32_t lookUpCase(const CasePair *first, const CasePair *last, char32_t c)
{
    const CasePair *row
        = std::lower_bound(first, last, c, [](const CasePair &p, char32_t v) { return p.from < v; });
    return row != last && row->from == c ? row->to : c;
}

void fillVoiced(Tables &t)
{
    for (unsigned c = 0xFF60; c < 0xFFA0; ++c) {
        t.voiced[0][c - 0xFF60] = voicedForm(char16_t(c), halfWidthVoicedMark);
        t.voiced[1][c - 0xFF60] = voicedForm(char16_t(c), halfWidthSemiVoicedMark);
    }
}

// Ranges of changing units, merged across the smallest gaps until at most kMaxActive remain.
void computeActive(Tables &t)
{
    fillVoiced(t);
    auto formula = [&t](char16_t c) {
        for (int k = 0; k < t.offsetCount; ++k) {
            if (c >= t.offsets[k].first && c <= t.offsets[k].last)
                return char16_t(c + t.offsets[k].delta);
        }
        return c;
    };
    std::vector<UnitRange> spans;
    for (unsigned c = 0; c < 0x10000; ++c) {
        const char16_t u = char16_t(c);
        if (t.map[c] == formula(u))
            continue;
        if (!spans.empty() && spans.back().last + 1u == c)
            spans.back().last = u;
        else
            spans.push_back({u, u});
    }
    while (spans.size() > size_t(kMaxActive)) {
        size_t best = 0;
        for (size_t k = 1; k + 1 < spans.size(); ++k) {
            if (spans[k + 1].first - spans[k].last < spans[best + 1].first - spans[best].last)
                best = k;
        }
        spans[best].last = spans[best + 1].last;
        spans.erase(spans.begin() + qsizetype(best) + 1);
    }
    t.activeCount = int(spans.size());
    std::copy(spans.begin(), spans.end(), t.active.begin());
#ifdef __SSE2__
    // v in [first, last] ⇔ (v − first − 0x8000) < (last − first + 1 − 0x8000) as signed 16-bit.
    auto bias = [](char16_t first) { return _mm_set1_epi16(short(char16_t(first + 0x8000))); };
    auto limit
        = [](char16_t first, char16_t last) { return _mm_set1_epi16(short(int(last - first + 1) - 0x8000)); };
    for (int k = 0; k < kMaxOffsets; ++k) {
        const bool used = k < t.offsetCount;
        t.offBias[k] = used ? bias(t.offsets[k].first) : _mm_setzero_si128();
        t.offLimit[k] = used ? limit(t.offsets[k].first, t.offsets[k].last) : _mm_set1_epi16(short(-0x8000));
        t.offDelta[k] = _mm_set1_epi16(used ? short(t.offsets[k].delta) : short(0));
    }
    for (int k = 0; k < kMaxActive; ++k) {
        const bool used = k < t.activeCount;
        t.actBias[k] = used ? bias(t.active[k].first) : _mm_setzero_si128();
        t.actLimit[k] = used ? limit(t.active[k].first, t.active[k].last) : _mm_set1_epi16(short(-0x8000));
        if (used && t.active[k].first < 0x80)
            t.asciiInactive = false;
    }
#endif
}

void setIdentity(Tables &t)
{
    for (unsigned c = 0; c < 0x10000; ++c)
        t.map[c] = char16_t(c);
}

void addOffset(Tables &t, char16_t first, char16_t last, char16_t delta)
{
    t.offsets[t.offsetCount++] = {first, last, delta};
    for (unsigned c = first; c <= last; ++c)
        t.map[c] = char16_t(c + delta);
}

void markSupplementaryCase(Tables &t, const CasePair *first, const CasePair *last)
{
    for (const CasePair *row = first; row != last; ++row) {
        if (row->from > 0xFFFF)
            t.map[0xD800 + ((row->from - 0x10000) >> 10)] = kSpecial;
    }
}

std::unique_ptr<Tables> buildUpper()
{
    auto t = std::make_unique<Tables>();
    setIdentity(*t);
    for (const CasePair &row : upperCaseRows) {
        if (row.from <= 0xFFFF)
            t->map[row.from] = char16_t(row.to);
    }
    markSupplementaryCase(*t, std::begin(upperCaseRows), std::end(upperCaseRows));
    addOffset(*t, u'a', u'z', char16_t(u'A' - u'a'));
    addOffset(*t, u'ａ', u'ｚ', char16_t(u'Ａ' - u'ａ'));
    computeActive(*t);
    return t;
}

// Å U+212B (the ångström sign, 0x81F0 in code page 932) has a lower case å that code page 932
// cannot store, so Lower leaves it.
constexpr char32_t lowerKeeps[] = {U'\u212B'}; // looks like Å U+00C5, which Lower does map

std::unique_ptr<Tables> buildLower()
{
    auto t = std::make_unique<Tables>();
    setIdentity(*t);
    for (const CasePair &row : lowerCaseRows) {
        if (row.from <= 0xFFFF
            && std::find(std::begin(lowerKeeps), std::end(lowerKeeps), row.from) == std::end(lowerKeeps))
            t->map[row.from] = char16_t(row.to);
    }
    markSupplementaryCase(*t, std::begin(lowerCaseRows), std::end(lowerCaseRows));
    addOffset(*t, u'A', u'Z', char16_t(u'a' - u'A'));
    addOffset(*t, u'Ａ', u'Ｚ', char16_t(u'ａ' - u'Ａ'));
    computeActive(*t);
    return t;
}

std::unique_ptr<Tables> buildWide(WidthBlocks blocks)
{
    auto t = std::make_unique<Tables>();
    setIdentity(*t);
    if (blocks.kana) {
        for (const WidthPair &row : halfWidthKanaRows)
            t->map[row.narrow] = row.wide;
        t->map[halfWidthVoicedMark] = kSpecial;
        t->map[halfWidthSemiVoicedMark] = kSpecial;
    }
    if (blocks.symbols) {
        for (const WidthPair &row : wideSymbolRows)
            t->map[row.narrow] = row.wide;
    }
    if (blocks.ascii) {
        addOffset(*t, asciiFirst, asciiLast, char16_t(fullWidthAsciiFirst - asciiFirst));
        addOffset(*t, narrowSpace, narrowSpace, char16_t(wideSpace - narrowSpace));
    }
    computeActive(*t);
    return t;
}

std::unique_ptr<Tables> buildNarrow(WidthBlocks blocks)
{
    auto t = std::make_unique<Tables>();
    setIdentity(*t);
    if (blocks.kana) {
        for (const WidthPair &row : halfWidthKanaRows)
            t->map[row.wide] = row.narrow;
        auto expand = [&t](char16_t wide, char16_t letter, char16_t mark) {
            t->map[wide] = kSpecial;
            t->narrowPairs[wide - 0x30A0][0] = letter;
            t->narrowPairs[wide - 0x30A0][1] = mark;
        };
        for (const WidthPair &row : voicedRows)
            expand(row.wide, row.narrow, halfWidthVoicedMark);
        for (const WidthPair &row : semiVoicedRows)
            expand(row.wide, row.narrow, halfWidthSemiVoicedMark);
        for (const NarrowPair &row : narrowOnlyRows)
            expand(row.wide, row.narrow[0], row.narrow[1]);
    }
    if (blocks.ascii) {
        addOffset(*t, fullWidthAsciiFirst, fullWidthAsciiLast, char16_t(asciiFirst - fullWidthAsciiFirst));
        addOffset(*t, wideSpace, wideSpace, char16_t(narrowSpace - wideSpace));
    }
    computeActive(*t);
    return t;
}

std::unique_ptr<Tables> buildKatakana()
{
    auto t = std::make_unique<Tables>();
    setIdentity(*t);
    for (const KanaRange &r : katakanaRanges)
        addOffset(*t, r.first, r.last, kanaOffset);
    computeActive(*t);
    return t;
}

std::unique_ptr<Tables> buildHiragana()
{
    auto t = std::make_unique<Tables>();
    setIdentity(*t);
    for (const KanaRange &r : hiraganaRanges)
        addOffset(*t, r.first, r.last, char16_t(-kanaOffset));
    for (unsigned c = halfWidthLetterRange.first; c <= halfWidthLetterRange.last; ++c)
        t->map[c] = t->map[halfWidthKanaRows[c - halfWidthKanaFirst].wide];
    t->map[halfWidthVoicedMark] = kSpecial;
    t->map[halfWidthSemiVoicedMark] = kSpecial;
    computeActive(*t);
    return t;
}

template <ConversionKind K> const Tables &tables()
{
    static const std::unique_ptr<Tables> t = [] {
        switch (K) {
        case ConversionKind::Upper:
            return buildUpper();
        case ConversionKind::Lower:
            return buildLower();
        case ConversionKind::Wide:
            return buildWide({.ascii = true, .kana = true, .symbols = true});
        case ConversionKind::Narrow:
            return buildNarrow({.ascii = true, .kana = true, .symbols = false});
        case ConversionKind::WideAscii:
            return buildWide({.ascii = true, .kana = false, .symbols = false});
        case ConversionKind::WideKana:
            return buildWide({.ascii = false, .kana = true, .symbols = false});
        case ConversionKind::NarrowAscii:
            return buildNarrow({.ascii = true, .kana = false, .symbols = false});
        case ConversionKind::NarrowKana:
            return buildNarrow({.ascii = false, .kana = true, .symbols = false});
        case ConversionKind::Katakana:
            return buildKatakana();
        case ConversionKind::Hiragana:
            return buildHiragana();
        }
        return std::unique_ptr<Tables>();
    }();
    return *t;
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

QString toUpper(const QString &text) { return convert<ConversionKind::Upper>(text); }
QString toLower(const QString &text) { return convert<ConversionKind::Lower>(text); }
QString toWide(const QString &text) { return convert<ConversionKind::Wide>(text); }
QString toNarrow(const QString &text) { return convert<ConversionKind::Narrow>(text); }
QString toKatakana(const QString &text) { return convert<ConversionKind::Katakana>(text); }
QString toHiragana(const QString &text) { return convert<ConversionKind::Hiragana>(text); }
QString toWideAscii(const QString &text) { return convert<ConversionKind::WideAscii>(text); }
QString toWideKana(const QString &text) { return convert<ConversionKind::WideKana>(text); }
QString toNarrowAscii(const QString &text) { return convert<ConversionKind::NarrowAscii>(text); }
QString toNarrowKana(const QString &text) { return convert<ConversionKind::NarrowKana>(text); }

} // namespace orvane::chars
