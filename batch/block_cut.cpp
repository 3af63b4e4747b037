#include "block_cut.h"

#include "text/codec/cp932.h"

namespace orvane::batch {

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

qsizetype wholeCharacters(TextEncoding from, QByteArrayView bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    qsizetype size = bytes.size();
    if (size == 0)
        return 0;
    if (from == TextEncoding::Utf16Le || from == TextEncoding::Utf16Be) {
        const bool big = from == TextEncoding::Utf16Be;
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
    if (from == TextEncoding::ShiftJis) {
        const qsizetype last = cp932LastCharacter(data, size);
        if (last == size - 1 && cp932::isLeadByte(data[last]))
            size = last;
    } else {
        qsizetype lead = size - 1;
        while (lead > 0 && size - lead < 4 && (data[lead] & 0xC0) == 0x80)
            --lead;
        const unsigned char b = data[lead];
        const qsizetype needed = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        if (size - lead < needed)
            size = lead;
    }
    if (size > 0 && data[size - 1] == '\r')
        --size;
    return size;
}

} // namespace orvane::batch
