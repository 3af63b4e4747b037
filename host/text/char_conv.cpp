#include "host/text/char_conv.h"

#include "host/text/case_table.h"
#include "host/text/kana_table.h"
#include "host/text/width_table.h"

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

namespace orvane::text {

namespace {

enum class Kind { Upper, Lower, Wide, Narrow, Katakana, Hiragana };

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

constexpr int kMaxOffsets = 2;
constexpr int kMaxActive = 4;

struct Tables {
    char16_t map[0x10000];
    std::array<OffsetRange, kMaxOffsets> offsets{};
    int offsetCount = 0;
    // A few ranges that cover every unit not mapped by the offsets; a block with none of them is
    // mapped by the offsets alone.
    std::array<UnitRange, kMaxActive> active{};
    int activeCount = 0;
#ifdef __SSE2__
    __m128i offBias[kMaxOffsets];
    __m128i offLimit[kMaxOffsets];
    __m128i offDelta[kMaxOffsets];
    __m128i actBias[kMaxActive];
    __m128i actLimit[kMaxActive];
    bool asciiInactive = true; // no active range reaches below U+0080
#endif
};

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

char32_t lookUpCase(const CasePair *first, const CasePair *last, char32_t c)
{
    const CasePair *row = std::lower_bound(first, last, c, [](const CasePair &p, char32_t v) { return p.from < v; });
    return row != last && row->from == c ? row->to : c;
}

// Ranges of changing units, merged across the smallest gaps until at most kMaxActive remain.
void computeActive(Tables &t)
{
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
    auto limit = [](char16_t first, char16_t last) {
        return _mm_set1_epi16(short(int(last - first + 1) - 0x8000));
    };
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
        if (row.from <= 0xFFFF && std::find(std::begin(lowerKeeps), std::end(lowerKeeps), row.from) == std::end(lowerKeeps))
            t->map[row.from] = char16_t(row.to);
    }
    markSupplementaryCase(*t, std::begin(lowerCaseRows), std::end(lowerCaseRows));
    addOffset(*t, u'A', u'Z', char16_t(u'a' - u'A'));
    computeActive(*t);
    return t;
}

char16_t halfWidthToFull(char16_t c) { return halfWidthKanaRows[c - halfWidthKanaFirst].wide; }
bool isHalfWidthKana(char16_t c) { return c >= halfWidthKanaFirst && c <= halfWidthKanaLast; }

std::unique_ptr<Tables> buildWide()
{
    auto t = std::make_unique<Tables>();
    setIdentity(*t);
    for (const WidthPair &row : halfWidthKanaRows)
        t->map[row.narrow] = row.wide;
    for (const WidthPair &row : voicedRows)
        t->map[row.narrow] = kSpecial;
    for (const WidthPair &row : semiVoicedRows)
        t->map[row.narrow] = kSpecial;
    for (const WidthPair &row : wideSymbolRows)
        t->map[row.narrow] = row.wide;
    addOffset(*t, asciiFirst, asciiLast, char16_t(fullWidthAsciiFirst - asciiFirst));
    addOffset(*t, narrowSpace, narrowSpace, char16_t(wideSpace - narrowSpace));
    computeActive(*t);
    return t;
}

std::unique_ptr<Tables> buildNarrow()
{
    auto t = std::make_unique<Tables>();
    setIdentity(*t);
    for (const WidthPair &row : halfWidthKanaRows)
        t->map[row.wide] = row.narrow;
    for (const WidthPair &row : voicedRows)
        t->map[row.wide] = kSpecial;
    for (const WidthPair &row : semiVoicedRows)
        t->map[row.wide] = kSpecial;
    for (const NarrowPair &row : narrowOnlyRows)
        t->map[row.wide] = kSpecial;
    addOffset(*t, fullWidthAsciiFirst, fullWidthAsciiLast, char16_t(asciiFirst - fullWidthAsciiFirst));
    addOffset(*t, wideSpace, wideSpace, char16_t(narrowSpace - wideSpace));
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
        t->map[c] = kSpecial;
    computeActive(*t);
    return t;
}

template <Kind K>
const Tables &tables()
{
    static const std::unique_ptr<Tables> t = [] {
        switch (K) {
        case Kind::Upper: return buildUpper();
        case Kind::Lower: return buildLower();
        case Kind::Wide: return buildWide();
        case Kind::Narrow: return buildNarrow();
        case Kind::Katakana: return buildKatakana();
        case Kind::Hiragana: return buildHiragana();
        }
        return std::unique_ptr<Tables>();
    }();
    return *t;
}

// The converted text, written behind the unchanged prefix; grows for Narrow.
class Output
{
public:
    Output(const char16_t *in, qsizetype prefix, qsizetype capacity)
        : m_text(capacity, Qt::Uninitialized), m_data(reinterpret_cast<char16_t *>(m_text.data())),
          m_size(prefix)
    {
        std::memcpy(m_data, in, size_t(prefix) * sizeof(char16_t));
    }
    // Makes room for at least 16 more units.
    void reserve16()
    {
        if (m_text.size() - m_size >= 16)
            return;
        m_text.resize(m_text.size() + m_text.size() / 2 + 16);
        m_data = reinterpret_cast<char16_t *>(m_text.data());
    }
    char16_t *end() { return m_data + m_size; }
    void advance(qsizetype n) { m_size += n; }
    void put(char16_t c) { m_data[m_size++] = c; }
    QString take()
    {
        m_text.resize(m_size);
        return std::move(m_text);
    }

private:
    QString m_text;
    char16_t *m_data;
    qsizetype m_size;
};

// Converts the unit at i whose table entry is kSpecial; returns how many input units it took.
template <Kind K>
qsizetype special(const char16_t *in, qsizetype i, qsizetype n, Output &out)
{
    const char16_t c = in[i];
    if constexpr (K == Kind::Upper || K == Kind::Lower) {
        if (isHighSurrogate(c) && i + 1 < n && isLowSurrogate(in[i + 1])) {
            const char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            const char32_t to = K == Kind::Upper ? lookUpCase(std::begin(upperCaseRows), std::end(upperCaseRows), cp)
                                                 : lookUpCase(std::begin(lowerCaseRows), std::end(lowerCaseRows), cp);
            out.put(char16_t(0xD800 + ((to - 0x10000) >> 10)));
            out.put(char16_t(0xDC00 + ((to - 0x10000) & 0x3FF)));
            return 2;
        }
    } else if constexpr (K == Kind::Wide) {
        if (i + 1 < n && (in[i + 1] == halfWidthVoicedMark || in[i + 1] == halfWidthSemiVoicedMark)) {
            if (const char16_t composed = voicedForm(c, in[i + 1])) {
                out.put(composed);
                return 2;
            }
        }
        if (isHalfWidthKana(c)) {
            out.put(halfWidthToFull(c));
            return 1;
        }
    } else if constexpr (K == Kind::Narrow) {
        for (const WidthPair &row : voicedRows) {
            if (row.wide == c) {
                out.put(row.narrow);
                out.put(halfWidthVoicedMark);
                return 1;
            }
        }
        for (const WidthPair &row : semiVoicedRows) {
            if (row.wide == c) {
                out.put(row.narrow);
                out.put(halfWidthSemiVoicedMark);
                return 1;
            }
        }
        for (const NarrowPair &row : narrowOnlyRows) {
            if (row.wide == c) {
                out.put(row.narrow[0]);
                out.put(row.narrow[1]);
                return 1;
            }
        }
    } else if constexpr (K == Kind::Hiragana) {
        if (c >= halfWidthLetterRange.first && c <= halfWidthLetterRange.last) {
            const Tables &t = tables<Kind::Hiragana>();
            const bool marked = i + 1 < n && (in[i + 1] == halfWidthVoicedMark || in[i + 1] == halfWidthSemiVoicedMark);
            if (marked) {
                if (const char16_t composed = voicedForm(c, in[i + 1])) {
                    out.put(t.map[composed]);
                    return 2;
                }
            }
            out.put(t.map[halfWidthToFull(c)]);
            if (!marked)
                return 1;
            out.put(halfWidthToFull(in[i + 1]));
            return 2;
        }
    }
    out.put(c);
    return 1;
}

// Whether special() gives something other than its input at i.
template <Kind K>
bool specialChanges(const char16_t *in, qsizetype i, qsizetype n)
{
    if (in[i] == 0xFFFF)
        return false;
    if constexpr (K == Kind::Upper || K == Kind::Lower) {
        if (!(i + 1 < n && isLowSurrogate(in[i + 1])))
            return false;
        const char32_t cp = 0x10000 + ((char32_t(in[i]) - 0xD800) << 10) + (in[i + 1] - 0xDC00);
        const char32_t to = K == Kind::Upper ? lookUpCase(std::begin(upperCaseRows), std::end(upperCaseRows), cp)
                                             : lookUpCase(std::begin(lowerCaseRows), std::end(lowerCaseRows), cp);
        return to != cp;
    } else {
        return true;
    }
}

#ifdef __SSE2__
inline __m128i inRange(__m128i v, __m128i bias, __m128i limit)
{
    return _mm_cmplt_epi16(_mm_sub_epi16(v, bias), limit);
}

// Maps 8 units at once when none of them needs the table; returns false otherwise.
inline bool mapBlock(const Tables &t, __m128i v, __m128i &result)
{
    const bool ascii = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xFF80))),
                                                         _mm_setzero_si128())) == 0xFFFF;
    if (!ascii || !t.asciiInactive) {
        __m128i act = inRange(v, t.actBias[0], t.actLimit[0]);
        for (int k = 1; k < kMaxActive; ++k)
            act = _mm_or_si128(act, inRange(v, t.actBias[k], t.actLimit[k]));
        if (_mm_movemask_epi8(act) != 0)
            return false;
    }
    __m128i add = _mm_and_si128(inRange(v, t.offBias[0], t.offLimit[0]), t.offDelta[0]);
    for (int k = 1; k < kMaxOffsets; ++k)
        add = _mm_or_si128(add, _mm_and_si128(inRange(v, t.offBias[k], t.offLimit[k]), t.offDelta[k]));
    result = _mm_add_epi16(v, add);
    return true;
}
#endif

template <Kind K>
bool changesAt(const Tables &t, const char16_t *in, qsizetype i, qsizetype n)
{
    const char16_t m = t.map[in[i]];
    return m != in[i] && (m != kSpecial || specialChanges<K>(in, i, n));
}

template <Kind K>
qsizetype firstChange(const Tables &t, const char16_t *in, qsizetype n)
{
    qsizetype i = 0;
#ifdef __SSE2__
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        __m128i r;
        if (mapBlock(t, v, r)) {
            const int same = _mm_movemask_epi8(_mm_cmpeq_epi16(v, r));
            if (same != 0xFFFF)
                return i + __builtin_ctz(unsigned(~same)) / 2;
            continue;
        }
        for (qsizetype j = i; j < i + 8; ++j) {
            if (changesAt<K>(t, in, j, n))
                return j;
        }
    }
#endif
    for (; i < n; ++i) {
        if (changesAt<K>(t, in, i, n))
            return i;
    }
    return n;
}

template <Kind K>
QString convert(const QString &text)
{
    const Tables &t = tables<K>();
    const char16_t *in = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    qsizetype i = firstChange<K>(t, in, n);
    if (i == n)
        return text;
    Output out(in, i, K == Kind::Narrow ? n + n / 8 + 16 : n + 16);
    while (i < n) {
        out.reserve16();
#ifdef __SSE2__
        if (n - i >= 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
            __m128i r;
            if (mapBlock(t, v, r)) {
                _mm_storeu_si128(reinterpret_cast<__m128i *>(out.end()), r);
                out.advance(8);
                i += 8;
                continue;
            }
        }
#endif
        // Eight units through the table; a special may take one unit past them.
        const qsizetype stop = std::min(n, i + 8);
        while (i < stop) {
            const char16_t m = t.map[in[i]];
            if (m != kSpecial) {
                out.put(m);
                ++i;
            } else {
                i += special<K>(in, i, n, out);
            }
        }
    }
    return out.take();
}

} // namespace

QString toUpper(const QString &text) { return convert<Kind::Upper>(text); }
QString toLower(const QString &text) { return convert<Kind::Lower>(text); }
QString toWide(const QString &text) { return convert<Kind::Wide>(text); }
QString toNarrow(const QString &text) { return convert<Kind::Narrow>(text); }
QString toKatakana(const QString &text) { return convert<Kind::Katakana>(text); }
QString toHiragana(const QString &text) { return convert<Kind::Hiragana>(text); }

} // namespace orvane::text
