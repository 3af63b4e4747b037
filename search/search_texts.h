#pragma once
// Every text the search dialog shows.

#include <QString>

namespace orvane::search_texts {

inline QString searchCaption() { return QStringLiteral("検索"); }
inline QString searchLabel() { return QStringLiteral("検索する文字列"); }
inline QString searchMethodFrame() { return QStringLiteral("検索方法"); }
inline QString binarySearchOption() { return QStringLiteral("バイナリ検索"); }
inline QString textSearchOption() { return QStringLiteral("テキスト検索"); }
inline QString firstOccurrenceOnly() { return QStringLiteral("先頭にある文字列のみ検索"); }
inline QString searchButton() { return QStringLiteral("検索(&S)"); }
inline QString cancelButton() { return QStringLiteral("キャンセル(&C)"); }

// The search box shows this after the first characters of a long selection.
inline QString heldTextEllipsis() { return QStringLiteral("…"); }
inline QString heldTextToolTip(const QString &length)
{
    return QStringLiteral("選択された %1 文字の文字列を検索します").arg(length);
}

inline QString searchFinished() { return QStringLiteral("検索を終了しました"); }
inline QString searchFinishedTitle() { return QStringLiteral("検索"); }

// The replace dialog.
inline QString replaceCaption() { return QStringLiteral("置換"); }
inline QString replacePatternLabel() { return QStringLiteral("検索する文字列(&N):"); }
inline QString replacementLabel() { return QStringLiteral("置換後の文字列(&P):"); }
inline QString replaceTextOption() { return QStringLiteral("テキスト検索(&T)"); }
inline QString replaceBinaryOption() { return QStringLiteral("バイナリ検索(&B)"); }
inline QString regularExpressionOption() { return QStringLiteral("正規表現(&X)"); }
inline QString selectionOnlyOption() { return QStringLiteral("選択範囲のみ(&L)"); }
inline QString findNextButton() { return QStringLiteral("次を検索(&F)"); }
inline QString replaceButton() { return QStringLiteral("置換(&R)"); }
inline QString replaceAllButton() { return QStringLiteral("すべて置換(&A)"); }
inline QString closeButton() { return QStringLiteral("閉じる"); }
inline QString replacedCount(const QString &count)
{
    return QStringLiteral("%1 件置換しました。").arg(count);
}
inline QString notFound() { return QStringLiteral("見つかりませんでした。"); }
// A regular expression that does not compile: where (1-based) and PCRE2's reason.
inline QString patternError(const QString &column, const QString &reason)
{
    return QStringLiteral("正規表現が正しくありません（%1 文字目）：%2").arg(column, reason);
}

} // namespace orvane::search_texts
