#include "text/codec/text_positions.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvane::codepage {

Position positionOfUnit(const char16_t *text, qsizetype offset)
{
    Position at;
    at.offset = offset;
    const qsizetype lineStart = countLines(text, offset, at);
    for (qsizetype k = lineStart; k < offset; ++k) {
        if (!(isLowSurrogate(text[k]) && k > lineStart && isHighSurrogate(text[k - 1])))
            ++at.column;
    }
    return at;
}

Position positionOfUtf8Byte(const unsigned char *bytes, qsizetype offset)
{
    Position at;
    at.offset = offset;
    const qsizetype lineStart = countLines(bytes, offset, at);
    for (qsizetype k = lineStart; k < offset; ++k) {
        if ((bytes[k] & 0xC0) != 0x80)
            ++at.column;
    }
    return at;
}

qsizetype firstUnpairedSurrogate(const char16_t *text, qsizetype size, bool *endsInHigh)
{
    if (endsInHigh)
        *endsInHigh = false;
    qsizetype i = 0;
    while (i < size) {
#ifdef __SSE2__
        // Skips eight units at a time while none is a surrogate; Japanese text has none.
        const __m128i mask = _mm_set1_epi16(short(0xF800));
        const __m128i surrogate = _mm_set1_epi16(short(0xD800));
        while (size - i >= 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, mask), surrogate)) != 0)
                break;
            i += 8;
        }
        if (i == size)
            break;
#endif
        const char16_t c = text[i];
        if (isHighSurrogate(c)) {
            if (i + 1 == size) {
                if (endsInHigh)
                    *endsInHigh = true;
                return i;
            }
            if (!isLowSurrogate(text[i + 1]))
                return i;
            i += 2;
        } else if (isLowSurrogate(c)) {
            return i;
        } else {
            ++i;
        }
    }
    return size;
}

} // namespace orvane::codepage
