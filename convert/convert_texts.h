#pragma once
// Every Japanese text that the conversion commands and orvane-conv show, in one place.

#include <QString>

namespace orvane::convertTexts {

inline QString usage()
{
    return QStringLiteral(
        "使い方: orvane-conv [--from cp932|utf-8] [--to cp932|utf-8] [変換 ...] [ファイル]\n"
        "ファイル（省略時は標準入力）の文字を、指定した順に変換して標準出力に書き出します。\n"
        "改行はそのまま残します。文字コードはどちらも省略時 cp932（Shift-JIS）です。\n"
        "変換:\n"
        "  upper     大文字変換\n"
        "  lower     小文字変換\n"
        "  wide      全角変換\n"
        "  narrow    半角変換\n"
        "  katakana  カタカナ変換\n"
        "  hiragana  ひらがな変換\n"
        "終了コード: 0 成功、1 変換できない文字やバイトがある、2 使い方やファイルの誤り\n");
}

inline QString seeUsage()
{
    return QStringLiteral("使い方は orvane-conv --help で確かめてください。");
}

inline QString unknownOption(const QString &option)
{
    return QStringLiteral("「%1」というオプションはありません。").arg(option);
}
inline QString missingValue(const QString &option)
{
    return QStringLiteral("オプション「%1」には文字コードの名前が必要です（cp932 または utf-8）。")
        .arg(option);
}
inline QString unknownEncoding(const QString &name)
{
    return QStringLiteral("「%1」という文字コードは扱えません。cp932 か utf-8 を指定してください。")
        .arg(name);
}
inline QString unknownKind(const QString &name)
{
    return QStringLiteral(
        "「%1」という変換はありません（upper、lower、wide、narrow、katakana、hiragana のどれかです）。")
        .arg(name);
}
inline QString neitherKindNorFile(const QString &name)
{
    return QStringLiteral("「%1」という変換はなく、その名前のファイルも見つかりません。").arg(name);
}
inline QString missingFile()
{
    return QStringLiteral("「--」の後にファイルを指定してください。");
}
inline QString tooManyFiles(const QString &name)
{
    return QStringLiteral("ファイルは最後に一つだけ指定できます（「%1」）。").arg(name);
}

inline QString fileNotFound(const QString &path)
{
    return QStringLiteral("ファイル「%1」が見つかりません。").arg(path);
}
inline QString isFolder(const QString &path)
{
    return QStringLiteral("「%1」はフォルダーです。テキストファイルを指定してください。").arg(path);
}
inline QString cannotRead(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル「%1」を読み込めません（%2）。").arg(path, reason);
}
inline QString cannotReadStandardInput()
{
    return QStringLiteral("標準入力を読み込めません。");
}
inline QString cannotWriteStandardOutput()
{
    return QStringLiteral("標準出力に書き込めません。");
}

inline QString invalidShiftJis(qsizetype line, qsizetype column)
{
    return QStringLiteral("Shift-JIS のテキストとして読めないバイトがあります（%1 行目、%2 文字目）。")
        .arg(QString::number(line), QString::number(column));
}
inline QString invalidUtf8(qsizetype line, qsizetype column)
{
    return QStringLiteral("UTF-8 のテキストとして読めないバイトがあります（%1 行目、%2 文字目）。")
        .arg(QString::number(line), QString::number(column));
}
inline QString looksLikeUtf8()
{
    return QStringLiteral(
        "入力は UTF-8 のテキストです（先頭にバイト順マークがあります）。--from utf-8 を指定してください。");
}
inline QString looksLikeUtf16()
{
    return QStringLiteral("入力は UTF-16 のテキストです（先頭にバイト順マークがあります）。読めるのは "
                          "Shift-JIS と UTF-8 だけです。");
}
inline QString cannotStore(
    const QString &character, const QString &codePoint, qsizetype line, qsizetype column)
{
    return QStringLiteral("「%1」(%2) は Shift-JIS で保存できません（%3 行目、%4 文字目）。")
        .arg(character, codePoint, QString::number(line), QString::number(column));
}
inline QString yenSignHint()
{
    return QStringLiteral("wide（全角変換）で ￥ にすれば保存できます。");
}

} // namespace orvane::convertTexts
