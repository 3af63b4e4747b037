#include "text/chars/conversion_tables.h"

#include "text/chars/case_table.h"
#include "text/chars/kana_table.h"
#include "text/chars/width_table.h"

#include <algorithm>
#include <vector>

namespace orvane::chars {

char32_t lookUpCase(const CasePair *first, const CasePair *last, char32_t c)
{
    const CasePair *row
        = std::lower_bound(first, last, c, [](const CasePair &p, char32_t v) { return p.from < v; });
    return row != last && row->from == c ? row->to : c;
}

namespace {

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

} // namespace

std::unique_ptr<Tables> buildTables(ConversionKind kind)
{
    switch (kind) {
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
}

} // namespace orvane::chars
