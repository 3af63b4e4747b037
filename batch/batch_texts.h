#pragma once
// Every Japanese text orvane-conv shows, in one place, but the file errors, which the disk layer
// words for both programs.

#include <QString>

namespace orvane::batch_texts {

inline QString usage()
{
    return QStringLiteral(
        "使い方: orvane-conv [-i] [--from 文字コード] [--to 文字コード] [--line-end 改行] [変換 ...] "
        "[ファイル ...]\n"
        "ファイル（省略時または「-」は標準入力）の文字を、指定した順に変換して標準出力に書き出します。\n"
        "複数のファイルは順につなげて書き出します。どれほど大きな入力も少しずつ読んで変換します。\n"
        "改行は --line-end を指定しなければそのまま残します。\n"
        "  -i, --in-place  各ファイルを変換した内容で置き換えます（変わらないファイルはそのまま）\n"
        "  --from          入力の文字コード: cp932（省略時）、utf-8、utf-16le、utf-16be、euc-jp、\n"
        "                  iso-2022-jp（jis）、auto\n"
        "                  auto はバイト順マーク、ISO-2022-JP のエスケープ、UTF-8 かどうか、\n"
        "                  Shift-JIS と EUC-JP のどちらで読めてどちらが日本語らしいかを見て決めます\n"
        "                  （UTF-8 と Shift-JIS で迷うときは cp932）\n"
        "  --to            出力の文字コード: cp932（省略時）、utf-8、utf-8-bom、utf-16le、utf-16be、\n"
        "                  euc-jp、iso-2022-jp（jis）\n"
        "                  utf-16le と utf-16be はバイト順マークを付けます\n"
        "  --line-end      すべての改行（最後の改行も）をこの形で書きます: crlf、lf、cr\n"
        "  --help          この説明を表示します\n"
        "  --version       版を表示します\n"
        "変換:\n"
        "  upper         大文字変換\n"
        "  lower         小文字変換\n"
        "  wide          全角変換\n"
        "  narrow        半角変換\n"
        "  katakana      カタカナ変換\n"
        "  hiragana      ひらがな変換\n"
        "  narrow-ascii  全角の英数字・記号と全角空白だけを半角にします\n"
        "  wide-ascii    半角の英数字・記号と空白だけを全角にします（半角カナはそのまま）\n"
        "  narrow-kana   カタカナと「。」「ー」などの日本語の記号だけを半角にします\n"
        "  wide-kana     半角カナだけを全角にします（濁点はまとめます。英数字はそのまま）\n"
        "終了コード: 0 成功、1 変換できない文字やバイトがある（-i では失敗したファイルがある）、\n"
        "            2 使い方やファイルの誤り\n");
}

#ifdef ORVANE_VERSION
inline QString version()
{
    return QStringLiteral("orvane-conv（Orvane の一括変換） 版 " ORVANE_VERSION "\n");
}
#endif

inline QString seeUsage() { return QStringLiteral("使い方は orvane-conv --help で確かめてください。"); }

inline QString unknownOption(const QString &option)
{
    return QStringLiteral("「%1」というオプションはありません。").arg(option);
}
inline QString missingValue(const QString &option)
{
    return QStringLiteral("オプション「%1」には文字コードの名前が必要です（cp932、utf-8 など）。")
        .arg(option);
}
inline QString missingLineEnd()
{
    return QStringLiteral("オプション「--line-end」には改行の形が必要です（crlf、lf、cr）。");
}
inline QString unknownLineEnd(const QString &name)
{
    return QStringLiteral("「%1」という改行の形は扱えません。crlf、lf、cr のどれかを指定してください。")
        .arg(name);
}
inline QString unknownInputEncoding(const QString &name)
{
    return QStringLiteral("「%1」という入力の文字コードは扱えません。cp932、utf-8、utf-16le、utf-16be、auto "
                          "のどれかを指定してください。")
        .arg(name);
}
inline QString unknownOutputEncoding(const QString &name)
{
    return QStringLiteral("「%1」という出力の文字コードは扱えません。cp932、utf-8、utf-8-bom、utf-16le、"
                          "utf-16be のどれかを指定してください。")
        .arg(name);
}
inline QString inPlaceNeedsFiles()
{
    return QStringLiteral("-i（--in-place）には置き換えるファイルを指定してください。");
}
inline QString inPlaceNotStandardInput()
{
    return QStringLiteral("-i（--in-place）では標準入力（「-」）は使えません。");
}
// A message about a file's content, naming the file.
inline QString aboutFile(const QString &path, const QString &message)
{
    return path + QStringLiteral(": ") + message;
}
inline QString neitherKindNorFile(const QString &name)
{
    return QStringLiteral("「%1」という変換はなく、その名前のファイルも見つかりません。").arg(name);
}
inline QString missingFile() { return QStringLiteral("「--」の後にファイルを指定してください。"); }

inline QString cannotWriteTemporary() { return QStringLiteral("作業用の一時ファイルに書き込めません。"); }
inline QString cannotReadStandardInput() { return QStringLiteral("標準入力を読み込めません。"); }
inline QString cannotWriteStandardOutput() { return QStringLiteral("標準出力に書き込めません。"); }

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
// %1 names the encoding ("EUC-JP").
inline QString invalidIn(const QString &encoding, qsizetype line, qsizetype column)
{
    return QStringLiteral("%1 のテキストとして読めないバイトがあります（%2 行目、%3 文字目）。")
        .arg(encoding, QString::number(line), QString::number(column));
}
inline QString invalidUtf16(qsizetype line, qsizetype column)
{
    return QStringLiteral("UTF-16 のテキストとして読めないバイトがあります（%1 行目、%2 文字目）。")
        .arg(QString::number(line), QString::number(column));
}
inline QString stoppedPartWay() { return QStringLiteral("その手前までの変換結果だけを書き出しました。"); }
inline QString looksLikeUtf8()
{
    return QStringLiteral("入力は UTF-8 のテキストです（先頭にバイト順マークがあります）。--from utf-8 か "
                          "--from auto を指定してください。");
}
inline QString looksLikeUtf16()
{
    return QStringLiteral("入力は UTF-16 のテキストです（先頭にバイト順マークがあります）。--from auto "
                          "か --from utf-16le / utf-16be を指定してください。");
}
inline QString eucJpName() { return QStringLiteral("EUC-JP"); }
inline QString iso2022JpName() { return QStringLiteral("ISO-2022-JP"); }
// After the refusal of ¥ (codec_texts::unstorableInShiftJis).
inline QString yenSignHint() { return QStringLiteral("wide（全角変換）で ￥ にすれば保存できます。"); }

} // namespace orvane::batch_texts
