#pragma once
// Strict UTF-8 checking and UTF-16 conversion for the batch converter's pieces of text.

#include "text_position.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace orvane::batch {

// Where bytes stop being strict UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF, no cut-off sequence), relative to the start of bytes, and its byte offset; nothing
// when they are.
std::optional<TextPosition> findInvalidUtf8(QByteArrayView bytes, qsizetype *offset = nullptr);

// Decodes UTF-16 of an even number of bytes; false at an unpaired surrogate, with text holding
// what came before it and at its place.
bool decodeUtf16(QByteArrayView bytes, bool bigEndian, QString &text, TextPosition *at);

// Appends text as UTF-16 (without a byte-order mark).
void appendUtf16(QStringView text, bool bigEndian, QByteArray &bytes);

} // namespace orvane::batch
