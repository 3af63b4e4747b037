#pragma once
// The vector fast paths the byte-wise codecs share: runs of ASCII widened to UTF-16 and narrowed
// back, 16 at a time where SSE2 is there.

#include <QtGlobal>

#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvane::codec {

#ifdef __SSE2__
// Widens the run of bytes < 0x80 at the start of src (at least 16 bytes available) and returns its
// length. It may store up to 15 units past the run; the caller's buffer has room for them because
// every byte decodes to at most one unit.
inline qsizetype widenAsciiRun(const uchar *src, qsizetype available, char16_t *dst)
{
    const __m128i zero = _mm_setzero_si128();
    qsizetype done = 0;
    while (available - done >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + done));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + done), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + done + 8), _mm_unpackhi_epi8(v, zero));
        const unsigned nonAscii = unsigned(_mm_movemask_epi8(v));
        if (nonAscii != 0)
            return done + std::countr_zero(nonAscii);
        done += 16;
    }
    return done;
}

// Narrows the run of units < 0x80 at the start of src (at least 16 units available) and returns
// its length. It may store up to 15 bytes past the run; the caller's buffer holds two bytes a unit.
inline qsizetype narrowAsciiRun(const char16_t *src, qsizetype available, uchar *dst)
{
    const __m128i high = _mm_set1_epi16(short(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    qsizetype done = 0;
    while (available - done >= 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + done));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + done + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + done), _mm_packus_epi16(a, b));
        const __m128i asciiA = _mm_cmpeq_epi16(_mm_and_si128(a, high), zero);
        const __m128i asciiB = _mm_cmpeq_epi16(_mm_and_si128(b, high), zero);
        const unsigned ascii = unsigned(_mm_movemask_epi8(_mm_packs_epi16(asciiA, asciiB)));
        if (ascii != 0xFFFF)
            return done + std::countr_one(ascii);
        done += 16;
    }
    return done;
}
#endif

} // namespace orvane::codec
