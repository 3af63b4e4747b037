#include "text/chars/instr.h"

#include "text/chars/kana_table.h"
#include "text/chars/width_table.h"

#include <QChar>
#include <QVarLengthArray>

#include <algorithm>
#include <bitset>
#include <cstring>
#include <memory>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Text comparison folds both strings, one character at a time, to a form that ignores case, width
// and kana: ＡＢＣ and ABC to abc, カナ and ｶﾅ to かな, ｶﾞ (two units) to が. A character here is a
// surrogate pair, a half-width letter with the ﾞ or ﾟ it combines with, or any other unit; a match
// begins and ends between characters, so it never takes half of ｶﾞ or half of a pair.

namespace orvane::chars {

namespace {

// Its own, not QChar's (which takes char32_t): the search's loops measured up to 40% slower with those.
bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// What every single unit folds to.
struct FoldTable {
    char16_t unit[0x10000];
};

char16_t foldUnit(char16_t c)
{
    if (c >= fullWidthAsciiFirst && c <= fullWidthAsciiLast)
        c = char16_t(c - fullWidthAsciiFirst + asciiFirst);
    else if (c == wideSpace)
        c = narrowSpace;
    else if (c >= halfWidthKanaFirst && c <= halfWidthKanaLast)
        c = halfWidthKanaRows[c - halfWidthKanaFirst].wide;
    for (const WidthPair &row : wideSymbolRows) {
        if (c == row.wide)
            c = row.narrow;
    }
    // All katakana with a hiragana partner, ヴ ヵ ヶ included: folding need not stay in code page 932.
    if ((c >= u'ァ' && c <= u'ヶ') || c == u'ヽ' || c == u'ヾ')
        c = char16_t(c - kanaOffset);
    if (isHighSurrogate(c) || isLowSurrogate(c))
        return c;
    return char16_t(QChar::toCaseFolded(char32_t(c)));
}

const FoldTable &foldTable()
{
    static const std::unique_ptr<FoldTable> table = [] {
        auto t = std::make_unique<FoldTable>();
        for (unsigned c = 0; c < 0x10000; ++c)
            t->unit[c] = foldUnit(char16_t(c));
        return t;
    }();
    return *table;
}

// One character of a text and what it folds to.
struct Folded {
    char16_t units[2];
    int foldedLength; // 1, or 2 for a surrogate pair
    int length; // units it takes in the text
};

// The character at i; the caller ensures i < n.
inline Folded foldAt(const FoldTable &ft, const char16_t *s, qsizetype i, qsizetype n)
{
    const char16_t c = s[i];
    if (i + 1 < n) {
        const char16_t next = s[i + 1];
        if (isHighSurrogate(c) && isLowSurrogate(next)) {
            const char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (next - 0xDC00);
            char32_t f = QChar::toCaseFolded(cp);
            if (f <= 0xFFFF)
                f = cp;
            return {
                {char16_t(0xD800 + ((f - 0x10000) >> 10)), char16_t(0xDC00 + ((f - 0x10000) & 0x3FF))}, 2, 2};
        }
        if (const char16_t voiced = voicedForm(c, next))
            return {{ft.unit[voiced], 0}, 1, 2};
    }
    return {{ft.unit[c], 0}, 1, 1};
}

// Whether s[i - 1] and s[i] are one character.
inline bool joinsPrevious(const char16_t *s, qsizetype i)
{
    return (isHighSurrogate(s[i - 1]) && isLowSurrogate(s[i])) || voicedForm(s[i - 1], s[i]) != 0;
}

using FoldedString = QVarLengthArray<char16_t, 256>;

FoldedString foldAll(const FoldTable &ft, QStringView text)
{
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();
    FoldedString out;
    for (qsizetype i = 0; i < n;) {
        const Folded f = foldAt(ft, s, i, n);
        out.append(f.units, f.foldedLength);
        i += f.length;
    }
    return out;
}

// The length in the text of a match of folded at i, or 0.
qsizetype matchAt(const FoldTable &ft, const char16_t *s, qsizetype i, qsizetype n,
                  const FoldedString &folded)
{
    qsizetype p = i;
    for (qsizetype j = 0; j < folded.size();) {
        if (p >= n)
            return 0;
        const Folded f = foldAt(ft, s, p, n);
        if (j + f.foldedLength > folded.size() || f.units[0] != folded[j]
            || (f.foldedLength == 2 && f.units[1] != folded[j + 1]))
            return 0;
        j += f.foldedLength;
        p += f.length;
    }
    return p - i;
}

} // namespace

struct TextFinder::Prepared {
    FoldedString folded;
    // The units a character folding to folded[0] can begin with: ａ, Ａ, A and a for a; ｶ for が too.
    std::bitset<0x10000> starts;
    QVarLengthArray<char16_t, 16> startList;
};

TextFinder::TextFinder(QStringView sought)
{
    const FoldTable &ft = foldTable();
    auto prepared = std::make_shared<Prepared>();
    prepared->folded = foldAll(ft, sought);
    const char16_t first = prepared->folded[0];
    for (unsigned c = 0; c < 0x10000; ++c) {
        bool begins = ft.unit[c] == first || (isHighSurrogate(first) && isHighSurrogate(char16_t(c)));
        if (!begins && c >= halfWidthKanaFirst && c <= halfWidthKanaLast) {
            for (const char16_t mark : {halfWidthVoicedMark, halfWidthSemiVoicedMark}) {
                const char16_t voiced = voicedForm(char16_t(c), mark);
                begins = begins || (voiced != 0 && ft.unit[voiced] == first);
            }
        }
        if (begins) {
            prepared->starts.set(c);
            prepared->startList.append(char16_t(c));
        }
    }
    m_prepared = std::move(prepared);
}

Match TextFinder::find(QStringView text, qsizetype from) const
{
    const FoldTable &ft = foldTable();
    const FoldedString &folded = m_prepared->folded;
    const std::bitset<0x10000> &starts = m_prepared->starts;
    const auto &startList = m_prepared->startList;
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();

    auto tryAt = [&](qsizetype i) -> qsizetype {
        if (i > from && joinsPrevious(s, i))
            return 0;
        return matchAt(ft, s, i, n, folded);
    };

    qsizetype i = from;
#ifdef __SSE2__
    constexpr int kMaxVector = 6;
    if (startList.size() <= kMaxVector) {
        __m128i wanted[kMaxVector];
        for (int k = 0; k < kMaxVector; ++k)
            wanted[k] = _mm_set1_epi16(short(startList[std::min<qsizetype>(k, startList.size() - 1)]));
        for (; i + 8 <= n; i += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
            __m128i hit = _mm_cmpeq_epi16(v, wanted[0]);
            for (int k = 1; k < kMaxVector; ++k)
                hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, wanted[k]));
            unsigned mask = unsigned(_mm_movemask_epi8(hit));
            while (mask) {
                const qsizetype at = i + __builtin_ctz(mask) / 2;
                if (const qsizetype length = tryAt(at))
                    return {at + 1, length};
                mask &= mask - 1;
                mask &= mask - 1;
            }
        }
    }
#endif
    for (; i < n; ++i) {
        if (starts.test(s[i])) {
            if (const qsizetype length = tryAt(i))
                return {i + 1, length};
        }
    }
    return {};
}

namespace {

qsizetype findBinary(QStringView text, qsizetype from, QStringView sought)
{
    const char16_t *s = text.utf16();
    const char16_t *w = sought.utf16();
    const qsizetype n = text.size();
    const qsizetype m = sought.size();
    if (m > n - from)
        return -1;
#ifdef __SSE2__
    // Filters on the first and the last unit of sought, then compares the rest.
    const __m128i firstUnit = _mm_set1_epi16(short(w[0]));
    const __m128i lastUnit = _mm_set1_epi16(short(w[m - 1]));
    qsizetype i = from;
    for (; i + m - 1 + 8 <= n; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i + m - 1));
        unsigned mask = unsigned(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(a, firstUnit), _mm_cmpeq_epi16(b, lastUnit))));
        while (mask) {
            const qsizetype at = i + __builtin_ctz(mask) / 2;
            if (std::memcmp(s + at, w, size_t(m) * sizeof(char16_t)) == 0)
                return at;
            mask &= mask - 1;
            mask &= mask - 1;
        }
    }
    for (; i + m <= n; ++i) {
        if (s[i] == w[0] && std::memcmp(s + i, w, size_t(m) * sizeof(char16_t)) == 0)
            return i;
    }
    return -1;
#else
    return text.indexOf(sought, from);
#endif
}

} // namespace

Match InStr(qsizetype start, QStringView text, QStringView sought, CompareMode mode)
{
    start = std::max<qsizetype>(start, 1);
    if (start > text.size())
        return {};
    if (sought.isEmpty())
        return {start, 0};
    if (mode == CompareMode::Text)
        return TextFinder(sought).find(text, start - 1);
    const qsizetype at = findBinary(text, start - 1, sought);
    return at < 0 ? Match {} : Match {at + 1, sought.size()};
}

} // namespace orvane::chars
