#pragma once
// The vector fast paths the byte-wise codecs share: runs of ASCII widened to UTF-16 and narrowed
// back, 16 at a time where SSE2 is there.

#include <QByteArrayView>
#include <QString>
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

// Copies the ASCII character at in, or the run of them that starts there, to out (widened to
// UTF-16, or as bytes) and moves both on; false, touching nothing, when *in is not ASCII. The
// decoders' inner loops start with it.
template <typename Unit> inline bool copyAscii(const uchar *&in, const uchar *end, Unit *&out)
{
    static_assert(sizeof(Unit) <= 2);
    if (*in >= 0x80)
        return false;
#ifdef __SSE2__
    if (end - in >= 16) {
        qsizetype run;
        if constexpr (sizeof(Unit) == 2) {
            run = widenAsciiRun(in, end - in, reinterpret_cast<char16_t *>(out));
        } else {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out), v);
            const unsigned nonAscii = unsigned(_mm_movemask_epi8(v));
            run = nonAscii == 0 ? 16 : std::countr_zero(nonAscii);
        }
        in += run;
        out += run;
        return true;
    }
#else
    Q_UNUSED(end);
#endif
    *out++ = Unit(*in++);
    return true;
}

// The encoders' counterpart of copyAscii: copies the ASCII unit at src[i], or the run of them that
// starts there, to out[j] as bytes and moves i and j on; false, touching nothing, when src[i] is
// not ASCII.
inline bool copyAsciiUnits(const char16_t *src, qsizetype &i, qsizetype size, uchar *out, qsizetype &j)
{
    if (src[i] >= 0x80)
        return false;
#ifdef __SSE2__
    if (size - i >= 16) {
        const qsizetype run = narrowAsciiRun(src + i, size - i, out + j);
        i += run;
        j += run;
        if (run != 0)
            return true;
    }
#else
    Q_UNUSED(size);
#endif
    out[j++] = uchar(src[i++]);
    return true;
}

// The start of a decode of bytes into text, sized one UTF-16 unit a byte (exactly: resize()
// would round a new buffer up for growth), which no decoder of these encodings exceeds.
struct DecodeStart {
    const uchar *begin;
    const uchar *end;
    char16_t *out;
};

inline DecodeStart startDecode(QByteArrayView bytes, QString &text)
{
    text = QString(bytes.size(), Qt::Uninitialized);
    const auto *begin = reinterpret_cast<const uchar *>(bytes.data());
    return {begin, begin + bytes.size(), reinterpret_cast<char16_t *>(text.data())};
}

} // namespace orvane::codec
