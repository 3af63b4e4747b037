#pragma once
// The one conversion that every command and the batch converter share.

#include "text/chars/conversion_kind.h"

#include <QString>

namespace orvane::chars {

// Returns the text converted to the kind's character class; the input itself (shared, not copied)
// when no character changes. Wide, Narrow and Hiragana may change the length (ｶﾞ ↔ ガ).
QString convert(ConversionKind kind, const QString &text);

} // namespace orvane::chars
