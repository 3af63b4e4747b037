#pragma once
// The Japanese sentence both programs say of a character that Shift-JIS (or EUC-JP, ISO-2022-JP)
// cannot store, each with its own ways out.

#include "text/codec/codec_error.h"

#include <QChar>
#include <QString>

namespace orvane::codec_texts {

// U+XXXX, at least four hexadecimal digits.
inline QString codePointName(char32_t codePoint)
{
    return QStringLiteral("U+%1").arg(uint(codePoint), 4, 16, QLatin1Char('0')).toUpper();
}

// A character that shows on its own between 「」: not a lone surrogate, a control or format
// character, a line or paragraph separator, a combining mark, or unassigned.
inline bool isShowable(char32_t codePoint)
{
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
        return false;
    switch (QChar::category(codePoint)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_NotAssigned:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
        return false;
    default:
        return true;
    }
}

// What a program adds after the sentence, each empty where it has nothing to say.
struct UnstorableHints {
    QString yenSign; // for ¥, which Shift-JIS cannot tell from the backslash
    QString overline; // for ‾, which it cannot tell from ~
    QString anyCharacter; // last, for every character but a lone surrogate
};

// The character and its place (its code point alone where it does not show), then the hints.
// encoding names the encoding ("EUC-JP").
inline QString unstorableIn(const QString &encoding, const codec::EncodeError &error,
                            const UnstorableHints &hints)
{
    const char32_t c = error.codePoint;
    const QString line = QString::number(error.at.line);
    const QString column = QString::number(error.at.column);
    QString text = isShowable(c)
        ? QStringLiteral("「%1」(%2) は %3 で保存できません（%4 行目、%5 文字目）。")
              .arg(QString::fromUcs4(&c, 1), codePointName(c), encoding, line, column)
        : QStringLiteral("文字 %1 は %2 で保存できません（%3 行目、%4 文字目）。")
              .arg(codePointName(c), encoding, line, column);
    if (c == U'\u00A5')
        text += hints.yenSign;
    else if (c == U'\u203E')
        text += hints.overline;
    if (c < 0xD800 || c > 0xDFFF)
        text += hints.anyCharacter;
    return text;
}

inline QString unstorableInShiftJis(const codec::EncodeError &error, const UnstorableHints &hints)
{
    return unstorableIn(QStringLiteral("Shift-JIS"), error, hints);
}

} // namespace orvane::codec_texts
