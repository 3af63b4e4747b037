#pragma once
// How much a decoded text looks like Japanese, to choose between readings of bytes that several
// encodings decode: Shift-JIS read as EUC-JP, or EUC-JP and UTF-8 read as Shift-JIS, give rare
// kanji, user-defined characters and half-width punctuation where the right reading gives kana.

#include <QStringView>

namespace orvane::codec {

// The sum over the characters of a score each: kana, Japanese punctuation and common (JIS level 1)
// kanji count for, level 2 and extension kanji, user-defined characters, C1 controls and
// half-width katakana that form no word count against; ASCII counts nothing. Scores of readings
// of the same bytes compare; of different bytes they do not.
class JapaneseScore {
public:
    void add(QStringView text);
    long long value() const { return m_value; }

private:
    long long m_value = 0;
    char16_t m_previous = 0; // the last character of the text so far, for half-width katakana
    int m_previousRow = 0; // its JIS X 0208 row when it is a kanji
};

long long japaneseScore(QStringView text);

// Whether one of two readings' scores is clearly ahead, so that no one need be asked.
inline bool clearlyAhead(long long score, long long other) { return score - other >= 4; }

} // namespace orvane::codec
