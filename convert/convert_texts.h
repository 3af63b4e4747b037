#pragma once
// The Japanese texts of the conversion commands.

#include <QString>

namespace orvane::convert_texts {

// The progress dialog's label while the whole text is converted.
inline QString converting() { return QStringLiteral("テキスト全体を変換しています…"); }

} // namespace orvane::convert_texts
