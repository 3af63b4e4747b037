// Orvane: exact text measurement without shaping the same characters again and
// again.
//
// The library measures every piece of a line with a new QTextLayout and one
// cursorToX per character.  On a long line of Japanese that is most of the
// time of every keystroke.  Here the characters of Japanese text that a font
// draws as one glyph each, with an advance that does not depend on their
// neighbours (kana, kanji, CJK punctuation, full-width forms, half-width
// katakana), are measured once per font and then added up.  Runs of other
// simple characters (ASCII, Latin, Greek, Cyrillic, common symbols), which a
// font may kern or join into ligatures, are still measured with QTextLayout,
// together with the character on each side of them so that a kerning pair
// across the edge of the run counts as it did, and remembered by their text.  Anything else sends the whole
// piece back to the library's own path.
//
// Positions are exact: QTextLayout adds glyph advances in 1/64 px, and so does
// this code (in a double), so both give the same float.  Each font is checked
// once against QTextLayout on a sample of such characters before its cache is
// used; a font that kerns them keeps the library's path.

#include "advance_cache.h"

#include <QChar>
#include <QFont>
#include <QPaintDevice>
#include <QString>
#include <QTextLayout>
#include <QTextLine>

#include <memory>
#include <unordered_map>
#include <vector>

namespace orvane::qscintilla {

namespace {

// Characters measured once per font: one glyph each, drawn the same beside
// any neighbour in the fonts that draw Japanese.
bool isSingleGlyph(char32_t c)
{
    return (c >= 0x3000 && c <= 0x3029) || // CJK symbols, punctuation
        (c >= 0x3030 && c <= 0x303F) || // (not the marks at 302A-302F)
        (c >= 0x3041 && c <= 0x3096) || // hiragana
        (c >= 0x309B && c <= 0x30FF) || // (not 3099/309A), katakana
        (c >= 0x31F0 && c <= 0x31FF) || // small katakana
        (c >= 0x3400 && c <= 0x4DBF) || // CJK extension A
        (c >= 0x4E00 && c <= 0x9FFF) || // CJK unified ideographs
        (c >= 0xF900 && c <= 0xFAFF) || // CJK compatibility
        (c >= 0xFF01 && c <= 0xFF9D) || // full width, half-width kana
                                        // (not the sound marks FF9E and
                                        // FF9F, which join the kana
                                        // before them as one cluster)
        (c >= 0xFFE0 && c <= 0xFFE6); // full-width signs
}

// Characters a font may shape with their neighbours in ordinary ways (kerning,
// ligatures) but never reorder or combine across a kana or kanji.
bool isSimple(char32_t c)
{
    if (c < 0x20 || c > 0xFFFF || (c >= 0x7F && c < 0xA0))
        return false;

    const QChar ch(static_cast<char16_t>(c));

    switch (ch.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
        return false;
    default:
        break;
    }

    switch (ch.direction()) {
    case QChar::DirL:
    case QChar::DirEN:
    case QChar::DirES:
    case QChar::DirET:
    case QChar::DirCS:
    case QChar::DirON:
    case QChar::DirWS:
        break;
    default:
        return false;
    }

    switch (ch.script()) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
        return true;
    default:
        return false;
    }
}

// The library's measurement: the x position after each UTF-16 unit of text.
void layOut(const QFont &font, QPaintDevice *pd, const QString &text, double *ends)
{
    QTextLayout layout(text, font, pd);

    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();

    for (int i = 0; i < text.size(); ++i)
        ends[i] = line.cursorToX(i + 1);
}

// The advances of one font on one device, and whether they may be used.
// Owns each character's measured advance and the runs laid out with their neighbours.
class FontAdvances {
public:
    FontAdvances(const QFont &font_, QPaintDevice *pd)
        : m_font(font_)
        , m_dpiX(pd ? pd->logicalDpiX() : 0)
        , m_dpiY(pd ? pd->logicalDpiY() : 0)
        , m_advances(0x10000, -1.0f)
    {
        m_usable = agreesWithTextLayout(pd);
    }

    bool matches(const QFont &font_, QPaintDevice *pd) const
    {
        return m_dpiX == (pd ? pd->logicalDpiX() : 0) && m_dpiY == (pd ? pd->logicalDpiY() : 0)
            && m_font == font_;
    }

    double advance(char16_t c, QPaintDevice *pd)
    {
        float &cached = m_advances[c];

        if (cached < 0) {
            double end;

            layOut(m_font, pd, QString(QChar(c)), &end);
            cached = static_cast<float>(end);
        }

        return cached;
    }

    // A run of other characters with its neighbours, laid out once: the same
    // words come back again and again in a line.
    const std::vector<double> &runEnds(const QFont &font_, QPaintDevice *pd, const QString &run)
    {
        auto it = m_runs.find(run);

        if (it != m_runs.end())
            return it->second;

        if (m_runs.size() >= 100000)
            m_runs.clear();

        std::vector<double> ends(run.size());

        layOut(font_, pd, run, ends.data());

        return m_runs.emplace(run, std::move(ends)).first->second;
    }

    bool usable() const { return m_usable; }

private:
    // The sample holds kana, kanji, punctuation and full- and half-width
    // forms side by side; a font that kerns any such pair is not used here.
    bool agreesWithTextLayout(QPaintDevice *pd)
    {
        const QString sample
            = QString::fromUtf8("\xe3\x81\x82\xe3\x81\x84\xe3\x81\x86\xe3\x81\x88\xe3\x81\x8a"
                                "\xe3\x81\x8b\xe3\x81\xa3\xe3\x81\xa6\xe3\x82\x83\xe3\x82\x88"
                                "\xe3\x82\xa2\xe3\x82\xa4\xe3\x83\x88\xe3\x83\xa9\xe3\x83\xb3"
                                "\xe3\x83\xbc\xe3\x83\xbb\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e"
                                "\xe6\xbc\xa2\xe5\xad\x97\xe3\x80\x81\xe3\x80\x82\xe3\x80\x8c"
                                "\xe3\x80\x8d\xe3\x80\x80\xef\xbc\x88\xef\xbc\x89\xef\xbc\xa1"
                                "\xef\xbc\xb6\xef\xbd\x94\xef\xbd\x8f\xef\xbd\xb1\xef\xbd\xb2"
                                "\xef\xbd\xb0\xef\xbd\xa1\xe3\x81\x82");
        std::vector<double> ends(sample.size());

        layOut(m_font, pd, sample, ends.data());

        double x = 0;

        for (int i = 0; i < sample.size(); ++i) {
            x += advance(sample[i].unicode(), pd);

            if (x != ends[i])
                return false;
        }

        return true;
    }

    const QFont m_font;
    const int m_dpiX, m_dpiY;
    std::vector<float> m_advances;
    std::unordered_map<QString, std::vector<double>> m_runs;
    bool m_usable;
};

FontAdvances &advancesFor(const QFont &font, QPaintDevice *pd)
{
    // A handful of fonts at most: the styles of the controls in use.
    static std::vector<std::unique_ptr<FontAdvances>> fonts;
    static FontAdvances *last = nullptr;

    if (last && last->matches(font, pd))
        return *last;

    for (auto &entry : fonts)
        if (entry->matches(font, pd))
            return *(last = entry.get());

    if (fonts.size() >= 32)
        fonts.erase(fonts.begin());

    fonts.push_back(std::make_unique<FontAdvances>(font, pd));

    return *(last = fonts.back().get());
}

// Decodes one character of well-formed UTF-8 at s (at most three bytes, as
// characters beyond the BMP are left to the library); 0 bytes when it is not.
int decode(const unsigned char *s, int len, char32_t &c)
{
    const unsigned char b = s[0];

    if (b < 0x80) {
        c = b;
        return 1;
    }

    if (b >= 0xC2 && b < 0xE0 && len >= 2 && (s[1] & 0xC0) == 0x80) {
        c = ((b & 0x1Fu) << 6) | (s[1] & 0x3Fu);
        return 2;
    }

    if (b >= 0xE0 && b < 0xF0 && len >= 3 && (s[1] & 0xC0) == 0x80 && (s[2] & 0xC0) == 0x80) {
        c = ((b & 0x0Fu) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);

        if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF))
            return 3;
    }

    return 0;
}

struct Character {
    char16_t c;
    bool singleGlyph;
    int byteEnd;
};

} // namespace

bool measureWithAdvanceCache(const QFont &font, QPaintDevice *pd, const char *s, int len, float *positions)
{
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(s);

    // Segments are short (about 100 bytes); a longer text goes through here
    // too, only with more room.
    Character inPlace[128];
    std::vector<Character> onHeap;
    Character *characters = inPlace;

    if (len > 128) {
        onHeap.resize(len);
        characters = onHeap.data();
    }

    int count = 0;
    bool anySingleGlyph = false;

    for (int i = 0; i < len;) {
        char32_t c;
        const int n = decode(bytes + i, len - i, c);

        if (n == 0)
            return false;

        const bool single = isSingleGlyph(c);

        if (!single && !isSimple(c))
            return false;

        anySingleGlyph = anySingleGlyph || single;
        i += n;
        characters[count++] = {static_cast<char16_t>(c), single, i};
    }

    // Nothing to gain on text without kana or kanji.
    if (!anySingleGlyph)
        return false;

    FontAdvances &advances = advancesFor(font, pd);

    if (!advances.usable())
        return false;

    // The x position after each character.
    double endsInPlace[128];
    std::vector<double> endsOnHeap;
    double *ends = endsInPlace;

    if (count > 128) {
        endsOnHeap.resize(count);
        ends = endsOnHeap.data();
    }

    QString run;
    double x = 0;

    for (int i = 0; i < count;) {
        if (characters[i].singleGlyph) {
            x += advances.advance(characters[i].c, pd);
            ends[i++] = x;
            continue;
        }

        // A run of other characters, laid out with one neighbour on each
        // side.
        int end = i;

        while (end < count && !characters[end].singleGlyph)
            ++end;

        const int first = i > 0 ? i - 1 : i;
        const int last = end < count ? end : end - 1;

        run.clear();

        for (int k = first; k <= last; ++k)
            run.append(QChar(characters[k].c));

        const double *measured = advances.runEnds(font, pd, run).data();

        const double start = first > 0 ? ends[first - 1] : 0;

        for (int k = first; k < end; ++k)
            ends[k] = start + measured[k - first];

        x = ends[end - 1];
        i = end;
    }

    int byte = 0;

    for (int i = 0; i < count; ++i) {
        const float position = static_cast<float>(ends[i]);

        while (byte < characters[i].byteEnd)
            positions[byte++] = position;
    }

    return true;
}

} // namespace orvane::qscintilla
