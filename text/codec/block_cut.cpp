#include "text/codec/block_cut.h"

#include "text/codec/cp932.h"
#include "text/codec/iso2022jp.h"
#include "text/codec/utf8.h"

#include <QChar>

namespace orvane::codec {

qsizetype cp932LastCharacter(const unsigned char *bytes, qsizetype size)
{
    // A byte that cannot lead ends a character (it is one, or a trail byte), so the run of
    // possible lead bytes after it pairs up from its start.
    qsizetype j = size - 2;
    while (j >= 0 && cp932::isLeadByte(bytes[j]))
        --j;
    const qsizetype leads = size - 2 - j;
    return leads % 2 == 1 ? size - 2 : size - 1;
}

namespace {

// EUC-JP: a byte below 0xA1 is a character or starts one (0x8E with one byte after it, 0x8F with
// two), so the bytes from 0xA1 after the last such character pair up.
qsizetype eucJpWholeCharacters(const unsigned char *data, qsizetype size)
{
    qsizetype k = size - 1;
    while (k >= 0 && data[k] >= 0xA1)
        --k;
    qsizetype pairsFrom = 0;
    if (k >= 0) {
        pairsFrom = k + (data[k] == 0x8E ? 2 : data[k] == 0x8F ? 3 : 1);
        if (pairsFrom > size)
            return k;
    }
    return (size - pairsFrom) % 2 == 1 ? size - 1 : size;
}

} // namespace

qsizetype wholeCharacters(TextEncoding encoding, QByteArrayView bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    qsizetype size = bytes.size();
    if (size == 0)
        return 0;
    switch (encoding) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        const bool big = encoding == TextEncoding::Utf16Be;
        auto unitAt = [&](qsizetype i) {
            return char16_t(big ? data[i] << 8 | data[i + 1] : data[i + 1] << 8 | data[i]);
        };
        size &= ~qsizetype(1);
        if (size >= 2 && QChar::isHighSurrogate(unitAt(size - 2)))
            size -= 2;
        if (size >= 2 && unitAt(size - 2) == u'\r')
            size -= 2;
        return size;
    }
    case TextEncoding::ShiftJis: {
        const qsizetype last = cp932LastCharacter(data, size);
        if (last == size - 1 && cp932::isLeadByte(data[last]))
            size = last;
        break;
    }
    case TextEncoding::EucJp:
        size = eucJpWholeCharacters(data, size);
        break;
    case TextEncoding::Iso2022Jp: {
        // Which bytes pair up depends on the designations before them: read from the start.
        iso2022jp::Decoder decoder;
        QString text;
        qsizetype consumed = 0;
        return decoder.decode(bytes, text, nullptr, &consumed) ? consumed : size;
    }
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom: {
        // The last sequence starts at most three continuation bytes back.
        qsizetype lead = size - 1;
        while (lead > 0 && size - lead < 4 && (data[lead] & 0xC0) == 0x80)
            --lead;
        utf8::DecodeError error;
        if (!utf8::validate(bytes.sliced(lead), &error) && error.truncated)
            size = lead;
        break;
    }
    }
    if (size > 0 && data[size - 1] == '\r')
        --size;
    return size;
}

} // namespace orvane::codec
