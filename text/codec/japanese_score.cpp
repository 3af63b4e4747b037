#include "text/codec/japanese_score.h"

#include "text/codec/eucjp.h"

namespace orvane::codec {

namespace {

constexpr bool isHalfWidthLetter(char16_t c) { return c >= 0xFF66 && c <= 0xFF9D; }

// Half-width katakana letters that take a voiced (ﾞ) or semi-voiced (ﾟ) mark.
constexpr bool takesMark(char16_t letter, char16_t mark)
{
    const bool voiced = (letter >= 0xFF76 && letter <= 0xFF84) || (letter >= 0xFF8A && letter <= 0xFF8E)
        || letter == 0xFF73;
    const bool semiVoiced = letter >= 0xFF8A && letter <= 0xFF8E;
    return mark == 0xFF9E ? voiced : semiVoiced;
}

// Kanji and symbols by their JIS X 0208 row: level 1 kanji are common, level 2 rarer, the rest
// (NEC and IBM extensions, JIS X 0212) seldom in text and typical of misreadings.
// previousRow: the row of the character before, when it was a kanji too. Kanji rows go by reading,
// so real text seldom has two kanji of one row in a row, while EUC-JP's half-width katakana read
// as Shift-JIS are all kanji of row 28.
int jisScore(char16_t c, int &previousRow)
{
    const uint16_t code = eucjp::codeOf(c);
    const int lastRow = previousRow;
    previousRow = 0;
    if (code < 0x8080)
        return code != 0 ? -3 : 0; // JIS X 0212 or outside every JIS set
    const int row = (code >> 8) - 0xA0;
    if (row >= 16 && row <= 84)
        previousRow = row;
    if (row == lastRow)
        return -1;
    if (row >= 16 && row <= 47)
        return 2;
    if (row >= 48 && row <= 84)
        return -1;
    if (row == 3)
        return 1; // full-width digits and letters
    return row <= 8 ? -1 : -3;
}

int scoreOf(char16_t c, char16_t previous, int &previousRow)
{
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x2000 && c <= 0x2FFF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0xFFE0 && c <= 0xFFE5))
        return jisScore(c, previousRow);
    previousRow = 0;
    if (c < 0x80)
        return 0;
    if (c < 0xA0)
        return -6; // C1 controls: code page 932's single byte 0x80, never in text
    if (c < 0x250)
        return 1; // Latin letters of UTF-8
    if (c >= 0x3041 && c <= 0x309F)
        return 4;
    if ((c >= 0x30A1 && c <= 0x30FF) || (c >= 0x3000 && c <= 0x303F))
        return 3;
    if (c >= 0xFF01 && c <= 0xFF5E)
        return 1;
    if (c >= 0xE000 && c <= 0xF8FF)
        return -6;
    if (c >= 0xFF61 && c <= 0xFF65)
        return -1; // ｡｢｣､･: EUC-JP kana read as Shift-JIS start with these
    if (c == 0xFF9E || c == 0xFF9F)
        return takesMark(previous, c) ? 2 : -4;
    if (isHalfWidthLetter(c))
        return isHalfWidthLetter(previous) || previous == 0xFF9E || previous == 0xFF9F ? 1 : 0;
    return 0;
}

} // namespace

void JapaneseScore::add(QStringView text)
{
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        m_value += scoreOf(c, m_previous, m_previousRow);
        m_previous = c;
    }
}

long long japaneseScore(QStringView text)
{
    JapaneseScore score;
    score.add(text);
    return score.value();
}

} // namespace orvane::codec
