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

} // namespace orvane::search_texts
