#pragma once
// The codec of each document encoding behind one call, for the callers that hold an encoding rather
// than a codec: the disk files, orvane-conv's streams and the fuzz tests.

#include "text/codec/codec_error.h"
#include "text/codec/text_encoding.h"
#include "text/codec/utf16.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace orvane::codepage {

// The byte order of UTF-16 LE and BE (little-endian for the other encodings).
inline utf16::ByteOrder byteOrder(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16Be ? utf16::ByteOrder::BigEndian : utf16::ByteOrder::LittleEndian;
}

// The encoding's decode, of bytes without their byte-order mark; as cp932::decode, utf8::decode
// and utf16::decode say.
bool decode(TextEncoding encoding, QByteArrayView bytes, QString &text, DecodeError *error = nullptr);
// The encoding's encode, without a byte-order mark; as each codec's encode says.
bool encode(TextEncoding encoding, QStringView text, QByteArray &bytes, EncodeError *error = nullptr);

} // namespace orvane::codepage
