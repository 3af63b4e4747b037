#pragma once
// Sample texts for the text benchmarks: Japanese prose-like text and English-like text, generated
// from a fixed seed so that every run measures the same input.

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

namespace orvane::bench {

// Text drawn at random from a fixed seed, `draw` appending a piece at a time, cut at `length` units.
template <typename Draw> QString drawnText(qsizetype length, quint32 seed, Draw draw)
{
    QRandomGenerator random(seed);
    QString text;
    text.reserve(length + 64);
    while (text.size() < length)
        draw(random, text);
    text.truncate(length);
    return text;
}

// Mostly kanji and kana with punctuation, some ASCII and full-width letters and, unless told
// otherwise, half-width katakana (about one unit in twelve, far more than usual prose has); lines of
// about 40 characters ending in CR LF.
inline QString japaneseText(qsizetype length, bool halfWidth = true)
{
    static const QStringList words = {
        u"日本語"_qs, u"文字列"_qs,   u"変換"_qs,     u"の"_qs,       u"を"_qs,       u"は"_qs,    u"ます"_qs,
        u"でした"_qs, u"ひらがな"_qs, u"カタカナ"_qs, u"テキスト"_qs, u"ファイル"_qs, u"、"_qs,    u"。"_qs,
        u"「"_qs,     u"」"_qs,       u"ABC"_qs,      u"2024"_qs,     u"ＰＣ"_qs,     u"ｶﾞｲﾄﾞ"_qs, u"検索"_qs,
        u"編集"_qs,   u"保存"_qs,     u"ください"_qs, u"ー"_qs};
    qsizetype line = 0;
    return drawnText(length, 1, [&](QRandomGenerator &random, QString &text) {
        const QString &word = words.at(random.bounded(int(words.size())));
        if (!halfWidth && word.front().unicode() >= 0xFF61)
            return;
        text += word;
        line += word.size();
        if (line > 40) {
            text += u"\r\n";
            line = 0;
        }
    });
}

// The same made once for the whole run, for each length and choice asked for.
template <qsizetype Length, bool HalfWidth> const QString &japaneseSample()
{
    static const QString text = japaneseText(Length, HalfWidth);
    return text;
}

// English words in mixed case with digits and punctuation, one Japanese word in fifty.
inline QString asciiText(qsizetype length)
{
    static const QStringList words
        = {u"The "_qs,         u"quick "_qs,    u"brown "_qs,   u"fox "_qs,     u"jumps "_qs,
           u"over "_qs,        u"lazy "_qs,     u"dogs, "_qs,   u"and "_qs,     u"Editor "_qs,
           u"version 1.3 "_qs, u"\"text\" "_qs, u"files. "_qs,  u"(CR LF) "_qs, u"in "_qs,
           u"an "_qs,          u"old "_qs,      u"program "_qs, u"with "_qs,    u"menus "_qs,
           u"to "_qs,          u"convert "_qs,  u"case; "_qs,   u"search "_qs,  u"ok\r\n"_qs};
    return drawnText(length, 2, [](QRandomGenerator &random, QString &text) {
        text += random.bounded(50) == 0 ? u"日本語 "_qs : words.at(random.bounded(int(words.size())));
    });
}

// One line of hiragana, katakana, kanji, ASCII, half-width katakana and full-width letters, repeated
// to at least `units` units.
inline QString repeatedSampleLine(qsizetype units)
{
    const QString line = QStringLiteral("ひらがなとカタカナと漢字、ABC abc ｶﾞｯｺｳ　ＡＢＣ１２３。\r\n");
    QString text;
    text.reserve(units + line.size());
    while (text.size() < units)
        text += line;
    return text;
}

} // namespace orvane::bench
