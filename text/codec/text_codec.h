#pragma once
// The codec of each document encoding behind one call, for the callers that hold an encoding rather
// than a codec: the disk files, orvane-conv's streams and the fuzz tests.

#include "text/codec/codec_error.h"
#include "text/codec/cp932_file_codes.h"
#include "text/codec/text_encoding.h"
#include "text/codec/utf16.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace orvane::codec {

// The byte order of UTF-16 LE and BE (little-endian for the other encodings).
inline utf16::ByteOrder byteOrder(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16Be ? utf16::ByteOrder::BigEndian : utf16::ByteOrder::LittleEndian;
}

// The encoding's decode, of bytes without their byte-order mark; as cp932::decode, eucjp::decode,
// iso2022jp::decode, utf8::decode and utf16::decode say. codes: the file's own codes of characters
// with several, in the encodings that have them (isJisBased), else left empty.
bool decode(TextEncoding encoding, QByteArrayView bytes, QString &text, DecodeError *error = nullptr,
            cp932::FileCodes *codes = nullptr);
// The encoding's encode, without a byte-order mark; as each codec's encode says. codes: those the
// decode of the same encoding gave.
bool encode(TextEncoding encoding, QStringView text, QByteArray &bytes, EncodeError *error = nullptr,
            const cp932::FileCodes *codes = nullptr);

} // namespace orvane::codec
