#pragma once
// PCRE2's reasons for refusing a regular expression, in Japanese: those Qt's own Japanese
// translation leaves in English.

#include <QString>

namespace orvane::search_texts {

// The reason in Japanese; reason as given when it is not English, or a general reason followed by
// PCRE2's own text when no translation is known.
QString japanesePatternError(const QString &reason);

} // namespace orvane::search_texts
