// UTF-16 to UTF-8 with 16-byte SSSE3 vectors, eight units at a time: every unit becomes a 32-bit
// lane holding its one to three bytes, and a table of shuffles packs the lanes of each half.
// Built with -mssse3, so it must include nothing that other files could share.

#include "text/codec/utf8_kernels.h"

#include <tmmintrin.h>

namespace orvane::codec::utf8::kernels {

namespace {

// The shuffle that packs four lanes whose units are at least 0x80 (low four bits of the index)
// and at least 0x800 (high four bits) into their UTF-8 bytes, and how many bytes that makes.
struct Pack {
    alignas(16) unsigned char shuffle[16];
    unsigned char length;
};

struct PackTable {
    Pack entries[256];
};

constexpr PackTable makePackTable()
{
    PackTable table {};
    for (int index = 0; index < 256; ++index) {
        Pack &pack = table.entries[index];
        int out = 0;
        for (int lane = 0; lane < 4; ++lane) {
            const int length = 1 + ((index >> lane) & 1) + ((index >> (lane + 4)) & 1);
            for (int k = 0; k < length; ++k)
                pack.shuffle[out++] = static_cast<unsigned char>(lane * 4 + k);
        }
        pack.length = static_cast<unsigned char>(out);
        for (; out < 16; ++out)
            pack.shuffle[out] = 0x80;
    }
    return table;
}

constexpr PackTable packTable = makePackTable();

bool isSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// One character the plain way; a surrogate pair (known to be complete) takes two units.
std::ptrdiff_t encodeOne(const char16_t *src, std::ptrdiff_t i, unsigned char *&out)
{
    const unsigned c = src[i];
    if (c < 0x80) {
        *out++ = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<unsigned char>(0xC0 | (c >> 6));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (!isSurrogate(char16_t(c))) {
        *out++ = static_cast<unsigned char>(0xE0 | (c >> 12));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
        const unsigned code = 0x10000 + ((c - 0xD800) << 10) + (src[i + 1] - 0xDC00u);
        *out++ = static_cast<unsigned char>(0xF0 | (code >> 18));
        *out++ = static_cast<unsigned char>(0x80 | ((code >> 12) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (code & 0x3F));
        return 2;
    }
    return 1;
}

// Four units (zero-extended to 32-bit lanes) as lanes of their UTF-8 bytes, first byte lowest.
__m128i utf8Lanes(__m128i c)
{
    const __m128i six = _mm_set1_epi32(0x3F);
    const __m128i continuation = _mm_set1_epi32(0x80);
    const __m128i last = _mm_or_si128(_mm_and_si128(c, six), continuation);
    const __m128i middle = _mm_or_si128(_mm_and_si128(_mm_srli_epi32(c, 6), six), continuation);
    const __m128i two
        = _mm_or_si128(_mm_or_si128(_mm_srli_epi32(c, 6), _mm_set1_epi32(0xC0)), _mm_slli_epi32(last, 8));
    const __m128i three = _mm_or_si128(_mm_or_si128(_mm_srli_epi32(c, 12), _mm_set1_epi32(0xE0)),
                                       _mm_or_si128(_mm_slli_epi32(middle, 8), _mm_slli_epi32(last, 16)));
    const __m128i isTwo = _mm_cmpgt_epi32(c, _mm_set1_epi32(0x7F));
    const __m128i isThree = _mm_cmpgt_epi32(c, _mm_set1_epi32(0x7FF));
    __m128i lanes = _mm_or_si128(_mm_and_si128(isTwo, two), _mm_andnot_si128(isTwo, c));
    lanes = _mm_or_si128(_mm_and_si128(isThree, three), _mm_andnot_si128(isThree, lanes));
    return lanes;
}

void storePacked(__m128i lanes, unsigned index, unsigned char *&out)
{
    const Pack &pack = packTable.entries[index];
    const __m128i shuffle = _mm_load_si128(reinterpret_cast<const __m128i *>(pack.shuffle));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_shuffle_epi8(lanes, shuffle));
    out += pack.length;
}

} // namespace

std::ptrdiff_t encodeSsse3(const char16_t *src, std::ptrdiff_t size, unsigned char *dst)
{
    unsigned char *out = dst;
    const __m128i zero = _mm_setzero_si128();
    const __m128i notAscii = _mm_set1_epi16(short(0xFF80));
    const __m128i notTwoByte = _mm_set1_epi16(short(0xF800));
    const __m128i surrogate = _mm_set1_epi16(short(0xD800));
    std::ptrdiff_t i = 0;
    while (size - i >= 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(v, notAscii), zero);
        if (_mm_movemask_epi8(ascii) == 0xFFFF) {
            _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(v, v));
            out += 8;
            i += 8;
            continue;
        }
        const __m128i high = _mm_and_si128(v, notTwoByte);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, surrogate)) != 0) {
            // A surrogate among them: these eight the plain way (a pair may reach past them).
            const std::ptrdiff_t end = i + 8;
            while (i < end)
                i += encodeOne(src, i, out);
            continue;
        }
        const __m128i atLeast80 = _mm_xor_si128(ascii, _mm_set1_epi8(-1));
        const __m128i atLeast800 = _mm_xor_si128(_mm_cmpeq_epi16(high, zero), _mm_set1_epi8(-1));
        const unsigned masks = unsigned(_mm_movemask_epi8(_mm_packs_epi16(atLeast80, atLeast800)));
        storePacked(utf8Lanes(_mm_unpacklo_epi16(v, zero)), (masks & 0xF) | ((masks >> 4) & 0xF0), out);
        storePacked(utf8Lanes(_mm_unpackhi_epi16(v, zero)), ((masks >> 4) & 0xF) | ((masks >> 8) & 0xF0),
                    out);
        i += 8;
    }
    while (i < size)
        i += encodeOne(src, i, out);
    return out - dst;
}

} // namespace orvane::codec::utf8::kernels
