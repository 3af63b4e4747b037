#pragma once
// The Japanese texts of the message box and file dialog adapters.

#include <QString>

namespace orvane::ui_texts {

// Button captions as a Japanese Windows message box shows them.
inline QString ok() { return QStringLiteral("OK"); }
inline QString yes() { return QStringLiteral("はい(&Y)"); }
inline QString no() { return QStringLiteral("いいえ(&N)"); }
inline QString cancel() { return QStringLiteral("キャンセル"); }
inline QString retry() { return QStringLiteral("再試行(&R)"); }

inline QString openTitle() { return QStringLiteral("ファイルを開く"); }
inline QString saveTitle() { return QStringLiteral("名前を付けて保存"); }
inline QString dialogCancelled() { return QStringLiteral("キャンセルされました。"); }
inline QString pathNotFound(const QString &folder)
{
    return QStringLiteral("フォルダー「%1」が見つかりません。\nパスを確認してください。").arg(folder);
}

} // namespace orvane::ui_texts
