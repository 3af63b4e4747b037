#pragma once
// Where a block of a longer input may end so that its pieces decode as the whole input would: after a
// whole character (the decoders report a sequence the end cut off as truncated) and not after a CR,
// whose LF may follow in the next block.

#include "text/codec/text_encoding.h"

#include <QByteArrayView>

namespace orvane::codec {

// The length of the longest start of bytes that ends after a whole character and not after a CR.
// Bytes that are not valid stay, for the decoder to report.
qsizetype wholeCharacters(TextEncoding encoding, QByteArrayView bytes);

// Code page 932: where the character holding the last byte of bytes[0, size) starts, given that
// bytes starts on a character.
qsizetype cp932LastCharacter(const unsigned char *bytes, qsizetype size);

} // namespace orvane::codec
