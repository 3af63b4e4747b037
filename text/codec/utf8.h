#pragma once
// Strict UTF-8 for the document's files: no overlong forms, no encoded surrogates, nothing above
// U+10FFFF. Validation picks a vector path for the processor at run time.

#include "text/codec/codec_error.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace orvane::codec::utf8 {

using codec::DecodeError;
using codec::EncodeError;
using codec::Position;

// True when every byte belongs to a well-formed sequence. Otherwise error points at the first
// byte of the first ill-formed sequence; truncated says that the input ended inside a sequence
// that more bytes could complete.
bool validate(QByteArrayView bytes, DecodeError *error = nullptr);
// The same with a kernel of utf8_kernels.h (the scalar one where the processor lacks it), for
// the tests and benchmarks of each.
enum class Kernel;
bool validateWith(Kernel kernel, QByteArrayView bytes, DecodeError *error = nullptr);

// Decodes every byte; returns false where validate does. On failure text holds the characters
// before the error.
bool decode(QByteArrayView bytes, QString &text, DecodeError *error = nullptr);

// Encodes every character; returns false at a lone surrogate, which has no UTF-8 form. On failure
// bytes holds the characters before it.
bool encode(QStringView text, QByteArray &bytes, EncodeError *error = nullptr);

// The number of bytes encode writes for text without lone surrogates.
qsizetype encodedLength(QStringView text);

// The number of UTF-16 code units of valid UTF-8 (equal to its size when it is all ASCII).
qsizetype utf16Length(QByteArrayView validUtf8);

} // namespace orvane::codec::utf8
