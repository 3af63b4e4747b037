// UTF-16 in either byte order: a copy (byte-swapped for the other order) plus a check that every
// surrogate has its partner.

#include "text/codec/utf16.h"

#include "text/codec/text_positions.h"

#include <QtEndian>

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvane::codec::utf16 {

namespace {

constexpr ByteOrder kNativeOrder
    = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? ByteOrder::LittleEndian : ByteOrder::BigEndian;

// Copies units between memory and file order.
void copyUnits(const void *from, void *to, qsizetype units, ByteOrder order)
{
    // An empty view may have no storage at all, and memcpy must not see its null pointer.
    if (units == 0)
        return;
    if (order == kNativeOrder) {
        std::memcpy(to, from, size_t(units) * 2);
        return;
    }
    const auto *in = static_cast<const uchar *>(from);
    auto *out = static_cast<uchar *>(to);
    qsizetype done = 0;
#ifdef __SSE2__
    for (; units * 2 - done >= 16; done += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + done));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + done),
                         _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8)));
    }
#endif
    for (qsizetype i = done; i < units * 2; i += 2) {
        out[i] = in[i + 1];
        out[i + 1] = in[i];
    }
}

} // namespace

bool decode(QByteArrayView bytes, ByteOrder order, QString &text, DecodeError *error)
{
    const qsizetype units = bytes.size() / 2;
    text = QString(units, Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(text.data());
    copyUnits(bytes.data(), out, units, order);

    bool endsInHigh = false;
    const qsizetype bad = codec::firstUnpairedSurrogate(out, units, &endsInHigh);
    const bool oddByte = bytes.size() % 2 != 0;
    if (bad == units && !oddByte)
        return true;
    if (error) {
        // An odd last byte after an unpaired surrogate: the surrogate is the first thing wrong.
        error->at = codec::positionOfUnit(out, bad);
        error->at.offset = bad * 2;
        error->truncated = bad == units ? oddByte : endsInHigh;
    }
    text.truncate(bad);
    return false;
}

bool encode(QStringView text, ByteOrder order, QByteArray &bytes, EncodeError *error)
{
    const auto *src = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype bad = codec::firstUnpairedSurrogate(src, text.size());
    bytes = QByteArray(bad * 2, Qt::Uninitialized);
    copyUnits(src, bytes.data(), bad, order);
    return codec::storedAll(src, bad, text.size(), error);
}

} // namespace orvane::codec::utf16
