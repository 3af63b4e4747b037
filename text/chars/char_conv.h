#pragma once
// The per-kind conversions behind convert() (convert.h), private to text/chars: callers outside it
// name the kind and call convert(). Each returns the input itself (shared) when nothing changes.

#include <QString>

namespace orvane::chars {

QString toUpper(const QString &text); // keeps the length: ａ → Ａ
QString toLower(const QString &text); // keeps the length: Ａ → ａ
QString toWide(const QString &text); // keeps or shrinks: ｶﾞ → ガ
QString toNarrow(const QString &text); // keeps or grows: ガ → ｶﾞ
QString toKatakana(const QString &text); // keeps the length: か → カ
QString toHiragana(const QString &text); // keeps or shrinks: ｶﾞ → が

// Wide and Narrow restricted to one block, for the batch converter.
QString toWideAscii(const QString &text); // keeps the length: a → ａ; ｶ stays
QString toWideKana(const QString &text); // keeps or shrinks: ｶﾞ → ガ; a stays
QString toNarrowAscii(const QString &text); // keeps the length: ａ → a; ガ stays
QString toNarrowKana(const QString &text); // keeps or grows: ガ → ｶﾞ; ａ stays

} // namespace orvane::chars
