// Code page 932 conversion over the generated tables in cp932_tables.h.
// Neither ICU, glibc nor Qt converts exactly as Windows does (single bytes 0x80, 0xA0, 0xFD-0xFF,
// the choice among duplicate codes, invisible characters dropped on writing), so the tables are ours.

#include "text/codec/cp932.h"

#include "text/codec/cp932_tables.h"
#include "text/codec/text_positions.h"

#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvane::cp932 {

namespace {

using namespace tables;

static_assert(singleByte[0x5C] == 0x5C && singleByte[0x7E] == 0x7E && singleByte[0x80] == 0x80);
static_assert(singleByte[0x81] == kLeadByte && singleByte[0xA0] == 0xF8F0 && singleByte[0xFF] == 0xF8F3);
static_assert([] {
    for (int b = 0; b < 256; ++b) {
        if ((singleByte[b] == kLeadByte) != isLeadByte(uchar(b)))
            return false;
    }
    return true;
}());
static_assert(doubleByte[leadRow(0x81)][0x60 - kTrailFirst] == 0xFF5E);
static_assert(doubleByte[leadRow(0xF0)][0] == 0xE000
              && doubleByte[leadRow(0xF9)][0xFC - kTrailFirst] == 0xE757);
static_assert(encodePages[encodePage[0xFF]][0x02] == 0xFA57 && encodePages[encodePage[0x00]][0xA5] == 0);

// The character of a lead and a trail byte, or 0 when the pair is not one.
inline char16_t decodePair(unsigned lead, unsigned trail)
{
    const unsigned column = trail - kTrailFirst; // wraps above kRowSize for trail bytes below 0x40
    return column < kRowSize ? doubleByte[leadRow(lead)][column] : 0;
}

inline uint16_t encodeUnit(char16_t c) { return encodePages[encodePage[c >> 8]][c & 0xFF]; }

using codepage::isHighSurrogate;
using codepage::isLowSurrogate;

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

} // namespace

bool decode(QByteArrayView bytes, QString &text, DecodeError *error)
{
    const qsizetype size = bytes.size();
    const auto *const begin = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = begin + size;
    // Exactly one unit a byte: resize() would round a new buffer up for growth.
    text = QString(size, Qt::Uninitialized);
    auto *const outBegin = reinterpret_cast<char16_t *>(text.data());
    const uchar *in = begin;
    char16_t *out = outBegin;
    // Stops one byte early, so that a lead byte always has a byte after it to look at.
    while (end - in > 1) {
        const unsigned b = *in;
        if (b < 0x80) {
#ifdef __SSE2__
            if (end - in >= 16) {
                const qsizetype run = widenAsciiRun(in, end - in, out);
                in += run;
                out += run;
                continue;
            }
#endif
            *out++ = char16_t(b);
            ++in;
            continue;
        }
        char16_t u = singleByte[b];
        if (u == kLeadByte) {
            u = decodePair(b, in[1]);
            if (u == 0) [[unlikely]]
                break;
            ++in;
        }
        *out++ = u;
        ++in;
    }
    if (in + 1 == end && singleByte[*in] != kLeadByte)
        *out++ = singleByte[*in++];
    const bool ok = in == end;
    if (!ok && error) {
        error->at = codepage::positionOfCp932Byte(begin, in - begin);
        error->truncated = in + 1 == end;
    }
    const qsizetype length = out - outBegin;
    text.resize(length);
    // Double-byte text leaves up to half the buffer unused; give it back.
    if (length < size)
        text.squeeze();
    return ok;
}

bool encode(QStringView text, QByteArray &bytes, EncodeError *error)
{
    const qsizetype size = text.size();
    const char16_t *src = text.utf16();
    bytes = QByteArray(size * 2, Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(bytes.data());
    qsizetype i = 0;
    qsizetype j = 0;
    bool ok = true;
    while (i < size) {
        const char16_t c = src[i];
        if (c < 0x80) {
#ifdef __SSE2__
            if (size - i >= 16) {
                const qsizetype run = narrowAsciiRun(src + i, size - i, out + j);
                i += run;
                j += run;
                if (run != 0)
                    continue;
            }
#endif
            out[j++] = uchar(c);
            ++i;
            continue;
        }
        const uint16_t code = encodeUnit(c);
        if (code == 0) {
            ok = false;
            break;
        }
        if (code > 0xFF)
            out[j++] = uchar(code >> 8);
        out[j++] = uchar(code);
        ++i;
    }
    if (!ok && error) {
        error->at = codepage::positionOfUnit(src, i);
        const char16_t c = src[i];
        error->codePoint = c;
        if (isHighSurrogate(c) && i + 1 < size && isLowSurrogate(src[i + 1]))
            error->codePoint = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (src[i + 1] - 0xDC00);
    }
    bytes.resize(j);
    if (j < bytes.capacity())
        bytes.squeeze();
    return ok;
}

bool canEncode(char32_t codePoint)
{
    return codePoint == 0 || (codePoint < 0x10000 && encodeUnit(char16_t(codePoint)) != 0);
}

} // namespace orvane::cp932
