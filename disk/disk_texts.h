#pragma once
// The Japanese error descriptions of reading and writing files, each naming the file it is about.

#include "text/codec/text_encoding.h"

#include <QString>

namespace orvane::disk_texts {

inline QString encodingName(codec::TextEncoding encoding)
{
    switch (encoding) {
    case codec::TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case codec::TextEncoding::Utf8Bom:
        return QStringLiteral("UTF-8 (BOM 付き)");
    case codec::TextEncoding::Utf16Le:
        return QStringLiteral("UTF-16 LE");
    case codec::TextEncoding::Utf16Be:
        return QStringLiteral("UTF-16 BE");
    case codec::TextEncoding::EucJp:
        return QStringLiteral("EUC-JP");
    case codec::TextEncoding::Iso2022Jp:
        return QStringLiteral("JIS (ISO-2022-JP)");
    case codec::TextEncoding::ShiftJis:
        break;
    }
    return QStringLiteral("Shift-JIS");
}

// %1 is the file's path throughout.

// How every read and every write error but a few opens; %2 says why.
inline QString otherRead(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル「%1」を開けません。%2").arg(path, reason);
}
inline QString otherWrite(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル「%1」に保存できません。%2").arg(path, reason);
}

inline QString notFound(const QString &path)
{
    return QStringLiteral("ファイル「%1」が見つかりません。").arg(path);
}
inline QString folderNotFound(const QString &path)
{
    return QStringLiteral(
               "「%"
               "1」のフォルダーが見つかりません。フォルダーが削除されたか、名前が変わった可能性があります。")
        .arg(path);
}
inline QString accessDenied() { return QStringLiteral("アクセスが拒否されました。"); }
inline QString accessDeniedRead(const QString &path) { return otherRead(path, accessDenied()); }
inline QString accessDeniedWrite(const QString &path) { return otherWrite(path, accessDenied()); }
inline QString readOnlyFile(const QString &path)
{
    return QStringLiteral("ファイル「%1」は読み取り専用のため保存できません。アクセスが拒否されました。")
        .arg(path);
}
inline QString readOnlyDisk(const QString &path)
{
    return otherWrite(path, QStringLiteral("ディスクが書き込み禁止です。"));
}
inline QString diskFull(const QString &path)
{
    return QStringLiteral("ファイル「%1」を保存できません。ディスクの空き容量が不足しています。").arg(path);
}
// An in-place save first copies the old content aside; %2 says why that copy failed.
inline QString backupFailed(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル「%1」に保存できません。保存前の内容の控えを作れませんでした（%"
                          "2）。ファイルは元のままです。")
        .arg(path, reason);
}
inline QString backupNoSpace() { return QStringLiteral("ディスクの空き容量が不足しています"); }
inline QString backupAccessDenied() { return QStringLiteral("アクセスが拒否されました"); }
inline QString backupNoCacheFolder() { return QStringLiteral("控えを置くフォルダーがありません"); }
// Appended to the save's error when the old content could not be put back; %1 is the copy's path.
inline QString backupKept(const QString &backupPath)
{
    return QStringLiteral("元の内容を戻せなかったため、保存前の内容を「%1」に残しました。").arg(backupPath);
}
inline QString isFolderRead(const QString &path)
{
    return QStringLiteral("「%1」はフォルダーです。開けるのはテキストファイルだけです。").arg(path);
}
inline QString isFolderWrite(const QString &path)
{
    return QStringLiteral("「%1」はフォルダーのため、その名前では保存できません。").arg(path);
}
inline QString notRegularRead(const QString &path)
{
    return QStringLiteral("「%1」は通常のファイルではない（デバイスやパイプなど）ため開けません。").arg(path);
}
inline QString notRegularWrite(const QString &path)
{
    return QStringLiteral("「%1」は通常のファイルではない（デバイスやパイプなど）ため保存できません。")
        .arg(path);
}
// Sizes in MB (10^6 bytes).
inline QString notEnoughMemory(const QString &path, qint64 needMb, qint64 availableMb)
{
    return QStringLiteral("ファイル「%1」を開くには約 %2 MB のメモリが必要ですが、使えるのは %3 MB "
                          "です。ほかのプログラムを終了してからもう一度お試しください。")
        .arg(path)
        .arg(needMb)
        .arg(availableMb);
}
inline QString outOfMemoryRead(const QString &path)
{
    return QStringLiteral("メモリが不足しているため、ファイル「%1」を開けません。").arg(path);
}
inline QString outOfMemoryWrite(const QString &path)
{
    return QStringLiteral("メモリが不足しているため、ファイル「%1」を保存できません。").arg(path);
}
inline QString invalidBytes(const QString &path, qsizetype line, qsizetype column)
{
    return QStringLiteral("ファイル「%1」を開けません。Shift-JIS "
                          "のテキストとして読めないバイトがあります（%2 行目、%3 文字目）。")
        .arg(path)
        .arg(line)
        .arg(column);
}
// Invalid Shift-JIS is only reported for bytes that are not valid UTF-8 either.
inline QString notUtf8Either() { return QStringLiteral("UTF-8 のテキストとしても読めません。"); }
// After Shift-JIS's message when no encoding Open tries reads the bytes.
inline QString noOtherEncodingEither()
{
    return QStringLiteral("UTF-8 や EUC-JP のテキストとしても読めません。");
}
// %2 names the encoding ("UTF-8", "UTF-16 LE" ...).
inline QString invalidInEncoding(const QString &path, const QString &encoding, qsizetype line,
                                 qsizetype column)
{
    return QStringLiteral("ファイル「%1」を開けません。%2 のテキストとして読めないバイトがあります（%3 "
                          "行目、%4 文字目）。")
        .arg(path, encoding)
        .arg(line)
        .arg(column);
}
inline QString cutAtTheEnd() { return QStringLiteral("ファイルの最後の文字が途中で切れています。"); }
// A lone surrogate can come from pasted text; no Unicode encoding can store one.
inline QString unpairedSurrogate(const QString &path, const QString &encoding, const QString &codePoint,
                                 qsizetype line, qsizetype column)
{
    return QStringLiteral("ファイル「%1」に保存できません。対になっていないサロゲート %2 は %3 "
                          "で保存できません（%4 行目、%5 文字目）。")
        .arg(path, codePoint, encoding)
        .arg(line)
        .arg(column);
}
// The ways out after a Shift-JIS refusal of a character (codec_texts::unstorableInShiftJis).
inline QString yenHint()
{
    return QStringLiteral(
        "Shift-JIS では ¥ を \\ と区別できないためです。全角変換で ¥ を ￥ にすると保存できます。");
}
inline QString overlineHint()
{
    return QStringLiteral("Shift-JIS では ‾ を ~ と区別できないためです。全角の ￣ "
                          "に置き換えると保存できます（全角変換は ¥ を ￥ にします）。");
}
// After every Shift-JIS refusal of a character.
inline QString utf8Hint()
{
    return QStringLiteral("「名前を付けて保存」で UTF-8 を選ぶと、この文字も保存できます。");
}
} // namespace orvane::disk_texts
