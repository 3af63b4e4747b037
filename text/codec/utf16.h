#pragma once
// UTF-16 in either byte order for the document's files, strict about surrogates: a high surrogate
// must be followed by a low one, and a low one must follow a high one.

#include "text/codec/codec_error.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace orvane::codec::utf16 {

using codec::DecodeError;
using codec::EncodeError;
using codec::Position;

enum class ByteOrder { LittleEndian, BigEndian };

// Decodes every pair of bytes (no byte-order mark is expected or removed); returns false at an
// unpaired surrogate or an odd last byte, reported at its first byte. A high surrogate or a single
// byte at the end sets truncated. On failure text holds the characters before the error.
bool decode(QByteArrayView bytes, ByteOrder order, QString &text, DecodeError *error = nullptr);

// Encodes every character; returns false at a lone surrogate. On failure bytes holds the
// characters before it.
bool encode(QStringView text, ByteOrder order, QByteArray &bytes, EncodeError *error = nullptr);

} // namespace orvane::codec::utf16
