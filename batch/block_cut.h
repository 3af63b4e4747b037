#pragma once
// Where a block of input may end so that its pieces decode as the whole input would.

#include "stream_conversion.h"

#include <QByteArrayView>

namespace orvane::batch {

// The length of the longest start of bytes that ends after a whole character and not after a
// CR (whose LF may follow in the next block). from is the input's encoding.
qsizetype wholeCharacters(TextEncoding from, QByteArrayView bytes);

// Code page 932: where the character holding the last byte of bytes[0, size) starts, given that
// bytes starts on a character.
qsizetype cp932LastCharacter(const unsigned char *bytes, qsizetype size);

} // namespace orvane::batch
