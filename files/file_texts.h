#pragma once
// The Japanese texts of the file commands.

#include <QString>

namespace orvane::file_texts {

inline QString savePrompt() { return QStringLiteral("現在のテキストを保存しますか"); }

inline QString fileFilter() { return QStringLiteral("テキストファイル (*.txt)|*.txt"); }

inline QString defaultExt() { return QStringLiteral(".txt"); }

// %1 is the file's path.
inline QString openAsShiftJis(const QString &path)
{
    return QStringLiteral("ファイル「%1」は UTF-8 のテキストかもしれません。"
                          "Shift-JIS のテキストとして開きますか？\r\n"
                          "（UTF-8 のテキストなら、文字化けして表示されます。）")
        .arg(path);
}

} // namespace orvane::file_texts
