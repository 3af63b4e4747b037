#pragma once
// The Japanese texts of the main window and of start-up. The menu captions stand in menu_table.cpp,
// one row per item.

#include <QString>

namespace orvane::app_texts {

inline QString aboutPrompt() { return QStringLiteral("Orvane version1.4\r\nProgramed by Namiro"); }
inline QString aboutTitle() { return QStringLiteral("バージョン情報"); }

inline QString textFileFilter() { return QStringLiteral("テキストファイル (*.txt)|*.txt"); }
inline QString textFileExt() { return QStringLiteral(".txt"); }

// Start-up messages on stderr, one line each; the hint in English helps when searching the web.
inline QString noDisplay()
{
    return QStringLiteral("orvane: 画面（ディスプレイ）に接続できません。DISPLAY が設定されていません。"
                          " (cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set)");
}
inline QString argumentsIgnored(const QString &arguments)
{
    return QStringLiteral("orvane: 開くファイルは最初の 1 つだけです。次の引数は無視しました: %1"
                          " (Orvane opens one file; the other arguments were ignored)")
        .arg(arguments);
}

// What `orvane --help` and `orvane --version` print on stdout.
inline QString usage()
{
    return QStringLiteral(
        "使い方: orvane [ファイル]\n"
        "日本語のテキストエディター Orvane を起動します。ファイルを指定すると「開く」と同じように開きます。\n"
        "  --help     この説明を表示します\n"
        "  --version  版を表示します\n"
        "詳しくは man orvane をご覧ください。一括変換は orvane-conv --help をご覧ください。\n");
}
inline QString version(const QString &number)
{
    return QStringLiteral("Orvane（テキスト文字列変換） 版 %1\n").arg(number);
}

} // namespace orvane::app_texts
