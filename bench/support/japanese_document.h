#pragma once
// The edit-control benchmarks' document: random hiragana, kanji, katakana, 、。 and a little ASCII,
// in lines of 40 to 80 characters or as one long line, generated from a fixed seed.

#include <QRandomGenerator>
#include <QString>

namespace orvane::bench {

inline QChar japaneseCharacter(QRandomGenerator &random)
{
    static const QString kanji
        = QStringLiteral("日本語文字列変換漢字仮名全角半角検索置換保存開始終了編集表示");
    const quint32 kind = random.bounded(100);
    if (kind < 45)
        return QChar(char16_t(u'ぁ' + random.bounded(83)));
    if (kind < 75)
        return kanji[random.bounded(int(kanji.size()))];
    if (kind < 90)
        return QChar(char16_t(u'ァ' + random.bounded(86)));
    if (kind < 95)
        return kind % 2 ? u'、' : u'。';
    return QChar(char16_t(u'a' + random.bounded(26)));
}

// Lines of 40 to 80 characters ending in CR LF, to at least `units` UTF-16 units.
inline QString japaneseLines(qsizetype units)
{
    QRandomGenerator random(42);
    QString text;
    text.reserve(units + 100);
    while (text.size() < units) {
        for (quint32 length = 40 + random.bounded(41); length > 0; --length)
            text.append(japaneseCharacter(random));
        text.append(u"\r\n");
    }
    return text;
}

// One line of `units` characters, without a line end.
inline QString japaneseLine(qsizetype units)
{
    QRandomGenerator random(7);
    QString text;
    text.reserve(units);
    while (text.size() < units)
        text.append(japaneseCharacter(random));
    return text;
}

} // namespace orvane::bench
