#include "tests/reference/reference.h"

#include "text/chars/case_table.h"
#include "text/chars/kana_table.h"
#include "text/chars/width_table.h"
#include "text/codec/cp932.h"
#include "text/codec/eucjp.h"

#include <QChar>

#include <algorithm>
#include <vector>

namespace orvane::reference {

namespace {

using namespace chars;

bool isHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool pairs(QStringView s, qsizetype i)
{
    return i + 1 < s.size() && isHigh(s[i].unicode()) && isLow(s[i + 1].unicode());
}

void append(QString &out, char16_t first, char16_t second)
{
    const QChar both[] = {QChar(first), QChar(second)};
    out.append(both, 2);
}

void append(QString &out, char32_t c)
{
    if (c > 0xFFFF)
        append(out, QChar::highSurrogate(c), QChar::lowSurrogate(c));
    else
        out.append(QChar(char16_t(c)));
}

template <std::size_t N> char32_t caseOf(const CasePair (&rows)[N], char32_t c)
{
    const CasePair *row
        = std::lower_bound(rows, rows + N, c, [](const CasePair &p, char32_t v) { return p.from < v; });
    return row != rows + N && row->from == c ? row->to : c;
}

template <typename Row, std::size_t N, typename From, typename To>
char16_t lookUp(const Row (&rows)[N], char16_t c, From from, To to)
{
    for (const Row &row : rows) {
        if (row.*from == c)
            return row.*to;
    }
    return 0;
}

bool inRanges(const KanaRange *first, const KanaRange *last, char16_t c)
{
    return std::any_of(first, last, [c](const KanaRange &r) { return c >= r.first && c <= r.last; });
}

bool isMark(char16_t c) { return c == halfWidthVoicedMark || c == halfWidthSemiVoicedMark; }
bool isHalfWidthLetter(char16_t c)
{
    return c >= halfWidthLetterRange.first && c <= halfWidthLetterRange.last;
}

char16_t hiraganaOf(char16_t c)
{
    return inRanges(std::begin(hiraganaRanges), std::end(hiraganaRanges), c) ? char16_t(c - kanaOffset) : c;
}

// Which blocks of the width tables a width conversion uses.
struct Blocks {
    bool ascii; // space and U+0021–U+007E, or their full-width forms
    bool kana; // U+FF61–U+FF9F, or their full-width forms
    bool symbols; // ¢ £ ¥ ¦ ¬ ¯ ₩
};

void wideOne(QString &out, char16_t c, char16_t previous, Blocks b)
{
    if (b.ascii && c == narrowSpace)
        out.append(QChar(wideSpace));
    else if (b.ascii && c >= asciiFirst && c <= asciiLast)
        out.append(QChar(char16_t(c - asciiFirst + fullWidthAsciiFirst)));
    else if (b.kana && isMark(c) && voicedForm(previous, c))
        out.back() = QChar(voicedForm(previous, c));
    else if (char16_t w = lookUp(halfWidthKanaRows, c, &WidthPair::narrow, &WidthPair::wide); b.kana && w)
        out.append(QChar(w));
    else if (char16_t s = lookUp(wideSymbolRows, c, &WidthPair::narrow, &WidthPair::wide); b.symbols && s)
        out.append(QChar(s));
    else
        out.append(QChar(c));
}

void narrowOne(QString &out, char16_t c, Blocks b)
{
    const NarrowPair *two = std::find_if(std::begin(narrowOnlyRows), std::end(narrowOnlyRows),
                                         [c](const NarrowPair &r) { return r.wide == c; });
    if (b.ascii && c == wideSpace)
        out.append(QChar(narrowSpace));
    else if (b.ascii && c >= fullWidthAsciiFirst && c <= fullWidthAsciiLast)
        out.append(QChar(char16_t(c - fullWidthAsciiFirst + asciiFirst)));
    else if (!b.kana)
        out.append(QChar(c));
    else if (char16_t n = lookUp(halfWidthKanaRows, c, &WidthPair::wide, &WidthPair::narrow))
        out.append(QChar(n));
    else if (char16_t v = lookUp(voicedRows, c, &WidthPair::wide, &WidthPair::narrow))
        append(out, v, halfWidthVoicedMark);
    else if (char16_t s = lookUp(semiVoicedRows, c, &WidthPair::wide, &WidthPair::narrow))
        append(out, s, halfWidthSemiVoicedMark);
    else if (two != std::end(narrowOnlyRows))
        append(out, two->narrow[0], two->narrow[1]);
    else
        out.append(QChar(c));
}

void hiraganaOne(QString &out, char16_t c, char16_t previous)
{
    const char16_t wide = lookUp(halfWidthKanaRows, c, &WidthPair::narrow, &WidthPair::wide);
    if (isMark(c) && isHalfWidthLetter(previous)) {
        if (const char16_t voiced = voicedForm(previous, c))
            out.back() = QChar(hiraganaOf(voiced));
        else
            out.append(QChar(wide));
    } else if (isHalfWidthLetter(c)) {
        out.append(QChar(hiraganaOf(wide)));
    } else {
        out.append(QChar(hiraganaOf(c)));
    }
}

// One character of a text for text comparison: where it stands and what it folds to.
struct FoldedChar {
    qsizetype begin;
    qsizetype end;
    QString folded;
};

char16_t foldUnit(char16_t c)
{
    if (c >= fullWidthAsciiFirst && c <= fullWidthAsciiLast)
        c = char16_t(c - fullWidthAsciiFirst + asciiFirst);
    else if (c == wideSpace)
        c = narrowSpace;
    else if (char16_t w = lookUp(halfWidthKanaRows, c, &WidthPair::narrow, &WidthPair::wide))
        c = w;
    else if (char16_t s = lookUp(wideSymbolRows, c, &WidthPair::wide, &WidthPair::narrow))
        c = s;
    if ((c >= u'ァ' && c <= u'ヶ') || c == u'ヽ' || c == u'ヾ')
        c = char16_t(c - kanaOffset);
    return isHigh(c) || isLow(c) ? c : char16_t(QChar::toCaseFolded(char32_t(c)));
}

// The characters of text from `from` on: a surrogate pair, a half-width letter with the mark it
// combines with, or one unit.
std::vector<FoldedChar> foldFrom(QStringView s, qsizetype from)
{
    std::vector<FoldedChar> chars;
    for (qsizetype i = from; i < s.size();) {
        FoldedChar c {i, i + 1, {}};
        if (pairs(s, i)) {
            const char32_t cp = codePointAt(s, i);
            const char32_t folded = QChar::toCaseFolded(cp);
            append(c.folded, folded > 0xFFFF ? folded : cp); // never folds out of its plane
            c.end = i + 2;
        } else if (i + 1 < s.size() && voicedForm(s[i].unicode(), s[i + 1].unicode())) {
            c.folded = QChar(foldUnit(voicedForm(s[i].unicode(), s[i + 1].unicode())));
            c.end = i + 2;
        } else {
            c.folded = QChar(foldUnit(s[i].unicode()));
        }
        i = c.end;
        chars.push_back(std::move(c));
    }
    return chars;
}

} // namespace

char32_t codePointAt(QStringView s, qsizetype i)
{
    return pairs(s, i) ? QChar::surrogateToUcs4(s[i], s[i + 1]) : s[i].unicode();
}

QString convertOneByOne(chars::ConversionKind kind, QStringView s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        const char16_t previous = i > 0 ? s[i - 1].unicode() : 0;
        switch (kind) {
        case chars::ConversionKind::Upper:
            append(out, caseOf(upperCaseRows, codePointAt(s, i)));
            break;
        case chars::ConversionKind::Lower:
            // The ångström sign's lower case å is not in code page 932.
            append(out, c == u'\u212B' ? c : caseOf(lowerCaseRows, codePointAt(s, i)));
            break;
        case chars::ConversionKind::Wide:
            wideOne(out, c, previous, {.ascii = true, .kana = true, .symbols = true});
            break;
        case chars::ConversionKind::WideAscii:
            wideOne(out, c, previous, {.ascii = true, .kana = false, .symbols = false});
            break;
        case chars::ConversionKind::WideKana:
            wideOne(out, c, previous, {.ascii = false, .kana = true, .symbols = false});
            break;
        case chars::ConversionKind::Narrow:
            narrowOne(out, c, {.ascii = true, .kana = true, .symbols = false});
            break;
        case chars::ConversionKind::NarrowAscii:
            narrowOne(out, c, {.ascii = true, .kana = false, .symbols = false});
            break;
        case chars::ConversionKind::NarrowKana:
            narrowOne(out, c, {.ascii = false, .kana = true, .symbols = false});
            break;
        case chars::ConversionKind::Katakana:
            out.append(inRanges(std::begin(katakanaRanges), std::end(katakanaRanges), c)
                           ? QChar(char16_t(c + kanaOffset))
                           : QChar(c));
            break;
        case chars::ConversionKind::Hiragana:
            hiraganaOne(out, c, previous);
            break;
        }
        if ((kind == chars::ConversionKind::Upper || kind == chars::ConversionKind::Lower) && pairs(s, i))
            ++i;
    }
    return out;
}

chars::Match findOneByOne(qsizetype start, QStringView s, QStringView sought, chars::CompareMode mode)
{
    start = std::max<qsizetype>(start, 1);
    if (start > s.size())
        return {};
    if (sought.isEmpty())
        return {start, 0};
    if (mode == chars::CompareMode::Binary) {
        for (qsizetype i = start - 1; i + sought.size() <= s.size(); ++i) {
            if (s.sliced(i, sought.size()) == sought)
                return {i + 1, sought.size()};
        }
        return {};
    }
    QString wanted;
    for (const FoldedChar &c : foldFrom(sought, 0))
        wanted += c.folded;
    const std::vector<FoldedChar> chars = foldFrom(s, start - 1);
    for (std::size_t k = 0; k < chars.size(); ++k) {
        QString folded;
        for (std::size_t j = k; j < chars.size() && folded.size() < wanted.size(); ++j) {
            folded += chars[j].folded;
            if (folded == wanted)
                return {chars[k].begin + 1, chars[j].end - chars[k].begin};
        }
    }
    return {};
}

std::pair<QString, qsizetype> replaceOneByOne(QStringView text, QStringView sought, QStringView replacement,
                                              chars::CompareMode mode)
{
    QString out;
    qsizetype count = 0;
    qsizetype copied = 0;
    if (sought.isEmpty())
        return {text.toString(), 0};
    for (chars::Match m = findOneByOne(1, text, sought, mode); m.position > 0;
         m = findOneByOne(m.position + m.length, text, sought, mode)) {
        out += text.sliced(copied, m.position - 1 - copied);
        out += replacement;
        copied = m.position - 1 + m.length;
        ++count;
    }
    out += text.sliced(copied);
    return {out, count};
}

QString withoutLastLineEnd(QStringView s)
{
    if (s.endsWith(u"\r\n"))
        return s.chopped(2).toString();
    if (s.endsWith(u'\r') || s.endsWith(u'\n'))
        return s.chopped(1).toString();
    return s.toString();
}

codec::Position positionIn(QStringView s, qsizetype offset)
{
    codec::Position at;
    at.offset = offset;
    for (qsizetype i = 0; i < offset; ++i) {
        const bool lineEnd = s[i] == u'\n' || (s[i] == u'\r' && !(i + 1 < offset && s[i + 1] == u'\n'));
        if (lineEnd) {
            ++at.line;
            at.column = 1;
        } else if (!(isLow(s[i].unicode()) && i > 0 && isHigh(s[i - 1].unicode()))) {
            ++at.column;
        }
    }
    return at;
}

bool stores(codec::TextEncoding encoding, char32_t c)
{
    switch (encoding) {
    case codec::TextEncoding::ShiftJis:
        return codec::cp932::canEncode(c);
    case codec::TextEncoding::EucJp:
        return codec::eucjp::canEncode(c);
    case codec::TextEncoding::Iso2022Jp:
        return codec::eucjp::canEncode(c) && c != 0x1B && c != 0x0E && c != 0x0F;
    default:
        return c < 0xD800 || c > 0xDFFF;
    }
}

bool decodeJisOneByOne(codec::TextEncoding encoding, QByteArrayView bytes, QString &text)
{
    text.clear();
    const auto at = [&](qsizetype i) { return i < bytes.size() ? uint(uchar(bytes[i])) : 0u; };
    if (encoding == codec::TextEncoding::EucJp) {
        for (qsizetype i = 0; i < bytes.size();) {
            const uint b = at(i);
            char16_t c = 0;
            if (b < 0x80) {
                c = char16_t(b);
                i += 1;
            } else if (b == 0x8E) {
                c = at(i + 1) >= 0xA1 && at(i + 1) <= 0xDF ? char16_t(0xFF61 + at(i + 1) - 0xA1) : 0;
                i += 2;
            } else if (b == 0x8F) {
                c = codec::eucjp::secondaryCharacter(at(i + 1), at(i + 2));
                i += 3;
            } else {
                c = codec::eucjp::primaryCharacter(b, at(i + 1));
                i += 2;
            }
            if (b >= 0x80 && c == 0)
                return false;
            text += QChar(c);
        }
        return true;
    }
    // ISO-2022-JP: the set designated last, and whether SO shifted to katakana.
    enum { Single, Primary, Secondary, Kana } set = Single;
    bool shifted = false;
    for (qsizetype i = 0; i < bytes.size();) {
        const uint b = at(i);
        if (b == 0x1B) {
            const QByteArrayView rest = bytes.sliced(i);
            const struct {
                const char *escape;
                int set; // -1: designates nothing we read by
            } known[] = {{"\x1B(B", Single},     {"\x1B(J", Single},  {"\x1B(I", Kana},
                         {"\x1B$@", Primary},    {"\x1B$B", Primary}, {"\x1B$(B", Primary},
                         {"\x1B$(D", Secondary}, {"\x1B&@", -1},      {"\x1B)I", -1}};
            bool found = false;
            for (const auto &k : known) {
                if (rest.startsWith(k.escape)) {
                    if (k.set >= 0)
                        set = decltype(set)(k.set);
                    i += qsizetype(qstrlen(k.escape));
                    found = true;
                    break;
                }
            }
            if (!found)
                return false;
            continue;
        }
        if (b == 0x0E || b == 0x0F) {
            shifted = b == 0x0E;
            ++i;
            continue;
        }
        if (b >= 0x80)
            return false;
        char16_t c = char16_t(b);
        if (b > 0x20 && (shifted || set == Kana)) {
            if (b > 0x5F)
                return false;
            c = char16_t(0xFF61 + b - 0x21);
        } else if (b > 0x20 && (set == Primary || set == Secondary)) {
            if (at(i + 1) < 0x21 || at(i + 1) > 0x7E)
                return false;
            c = set == Primary ? codec::eucjp::primaryCharacter(b | 0x80, at(i + 1) | 0x80)
                               : codec::eucjp::secondaryCharacter(b | 0x80, at(i + 1) | 0x80);
            if (c == 0)
                return false;
            ++i;
        }
        text += QChar(c);
        ++i;
    }
    return true;
}

bool storable(QStringView s, codec::TextEncoding encoding)
{
    for (qsizetype i = 0; i < s.size(); i += pairs(s, i) ? 2 : 1) {
        if (!stores(encoding, codePointAt(s, i)))
            return false;
    }
    return true;
}

} // namespace orvane::reference
