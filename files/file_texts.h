#pragma once
// The Japanese texts of the file commands.

#include "disk/disk_texts.h"
#include "text/codec/line_ends.h"
#include "text/codec/text_encoding.h"

#include <QString>

namespace orvane::file_texts {

inline QString savePrompt() { return QStringLiteral("現在のテキストを保存しますか"); }

inline QString fileFilter() { return QStringLiteral("テキストファイル (*.txt)|*.txt"); }

// Save As offers one file type per encoding; the first, Shift-JIS, keeps the plain name.
inline QString fileTypeName(codec::TextEncoding encoding)
{
    if (encoding == codec::TextEncoding::ShiftJis)
        return QStringLiteral("テキストファイル (*.txt)");
    const QString name = encoding == codec::TextEncoding::Utf8Bom ? QStringLiteral("UTF-8 BOM 付き")
                                                                  : disk_texts::encodingName(encoding);
    return QStringLiteral("テキストファイル %1 (*.txt)").arg(name);
}

// Open's second choice: the bytes decide, or the encoding the item names.
inline QString encodingLabel() { return QStringLiteral("文字コード(&E):"); }
inline QString detectEncoding() { return QStringLiteral("自動判定"); }
// UTF-8 with its mark reads as UTF-8: Open offers the one.
inline QString encodingChoiceName(codec::TextEncoding encoding)
{
    return disk_texts::encodingName(encoding == codec::TextEncoding::Utf8Bom ? codec::TextEncoding::Utf8
                                                                             : encoding);
}

// Save As's second choice: keep each line's own line end, or write every one as the item says.
inline QString lineEndLabel() { return QStringLiteral("改行コード(&L):"); }
inline QString keepLineEnds() { return QStringLiteral("変換しない"); }
inline QString lineEndName(codec::LineEnd lineEnd)
{
    switch (lineEnd) {
    case codec::LineEnd::Lf:
        return QStringLiteral("LF (Unix)");
    case codec::LineEnd::Cr:
        return QStringLiteral("CR");
    case codec::LineEnd::CrLf:
        break;
    }
    return QStringLiteral("CR+LF (Windows)");
}

inline QString defaultExt() { return QStringLiteral(".txt"); }

// %1 is the file's path. The three answers are the message box's はい, いいえ and キャンセル.
inline QString utf8OrShiftJis(const QString &path)
{
    return QStringLiteral("ファイル「%1」は UTF-8 のテキストとしても Shift-JIS のテキストとしても読めます。"
                          "どちらとして開きますか？\r\n\r\n"
                          "はい: UTF-8 として開く\r\n"
                          "いいえ: Shift-JIS として開く\r\n"
                          "キャンセル: 開かない")
        .arg(path);
}

// Another program wrote the file since it was read or last saved.
inline QString overwriteChanged()
{
    return QStringLiteral("このファイルは開いた後に他のプログラムで変更されています。上書きしますか");
}
inline QString reloadChanged(const QString &path)
{
    return QStringLiteral("ファイル「%1」は他のプログラムで変更されています。再読み込みしますか").arg(path);
}
inline QString changedWhileEdited(const QString &path)
{
    return QStringLiteral("ファイル「%1」は他のプログラムで変更されています。編集中のテキストはそのままです。"
                          "上書き保存する前に確認します。")
        .arg(path);
}
// The progress dialog's label while a file is read or written; %1 is its name.
inline QString opening(const QString &name) { return QStringLiteral("「%1」を開いています…").arg(name); }
inline QString saving(const QString &name) { return QStringLiteral("「%1」を保存しています…").arg(name); }

} // namespace orvane::file_texts
