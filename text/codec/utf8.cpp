// UTF-8 validation (a vector kernel chosen at run time, a scalar loop that finds the exact place
// of an error), decoding through Qt once the bytes are known valid, and encoding.

#include "text/codec/utf8.h"

#include "text/codec/text_positions.h"
#include "text/codec/utf8_kernels.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvane::codec::utf8 {

namespace {

bool isContinuation(uchar b) { return (b & 0xC0) == 0x80; }

// The offset of the first ill-formed sequence at or after from, which must start a character,
// or size. truncated says that the sequence there is a valid start that the end cut off.
qsizetype firstInvalid(const uchar *p, qsizetype from, qsizetype size, bool &truncated)
{
    truncated = false;
    qsizetype i = from;
    while (i < size) {
        if (size - i >= 8) {
            quint64 word;
            std::memcpy(&word, p + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        qsizetype length;
        unsigned low = 0x80, high = 0xBF; // the range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0)
                low = 0xA0; // shorter forms are overlong
            else if (b == 0xED)
                high = 0x9F; // ED A0.. are surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0)
                low = 0x90;
            else if (b == 0xF4)
                high = 0x8F; // above U+10FFFF
        } else {
            return i;
        }
        for (qsizetype k = 1; k < length; ++k) {
            if (i + k == size) {
                truncated = true;
                return i;
            }
            const unsigned c = p[i + k];
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF))
                return i;
        }
        i += length;
    }
    return size;
}

Kernel detectBestKernel()
{
#if defined(ORVANE_UTF8_X86_KERNELS)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return Kernel::Avx2;
    if (__builtin_cpu_supports("ssse3"))
        return Kernel::Ssse3;
#endif
    return Kernel::Scalar;
}

// The offset of the first ill-formed sequence, or size, found with the given kernel.
qsizetype firstInvalidWith(Kernel kernel, const uchar *p, qsizetype size, bool &truncated)
{
    qsizetype clean = 0;
#if defined(ORVANE_UTF8_X86_KERNELS)
    if (kernel == Kernel::Avx2)
        clean = kernels::checkAvx2(p, size);
    else if (kernel == Kernel::Ssse3)
        clean = kernels::checkSsse3(p, size);
    if (clean == size) {
        truncated = false;
        return size;
    }
    // The error lies at or after the chunk start, or in a sequence the chunk start cuts: start at
    // the last character that begins before it (the valid bytes before it hold at most three
    // continuations in a row).
    if (clean > 0) {
        const qsizetype chunk = clean--;
        while (clean > 0 && chunk - clean < 4 && isContinuation(p[clean]))
            --clean;
    }
#else
    Q_UNUSED(kernel);
#endif
    return firstInvalid(p, clean, size, truncated);
}

// QString::fromUtf8 drops a leading U+FEFF; here it is a character of the text (a file's own
// byte-order mark is taken off before decoding), so it must stay.
QString decodeValid(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

Kernel bestKernel()
{
    static const Kernel best = detectBestKernel();
    return best;
}

bool isAvailable(Kernel kernel) { return int(kernel) <= int(bestKernel()); }

bool validate(QByteArrayView bytes, DecodeError *error) { return validateWith(bestKernel(), bytes, error); }

bool validateWith(Kernel kernel, QByteArrayView bytes, DecodeError *error)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    bool truncated = false;
    const qsizetype bad
        = firstInvalidWith(isAvailable(kernel) ? kernel : Kernel::Scalar, p, bytes.size(), truncated);
    if (bad == bytes.size())
        return true;
    if (error) {
        error->at = codec::positionOfUtf8Byte(p, bad);
        error->truncated = truncated;
    }
    return false;
}

bool decode(QByteArrayView bytes, QString &text, DecodeError *error)
{
    DecodeError found;
    if (validate(bytes, &found)) {
        text = decodeValid(bytes);
        return true;
    }
    text = decodeValid(bytes.first(found.at.offset));
    if (error)
        *error = found;
    return false;
}

bool encode(QStringView text, QByteArray &bytes, EncodeError *error)
{
    const auto *src = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype bad = codec::firstUnpairedSurrogate(src, text.size());
#if defined(ORVANE_UTF8_X86_KERNELS)
    if (isAvailable(Kernel::Ssse3)) {
        // Three bytes a unit at most; the untouched rest of the allocation is never paged in.
        bytes = QByteArray(bad * 3 + 16, Qt::Uninitialized);
        bytes.truncate(kernels::encodeSsse3(src, bad, reinterpret_cast<uchar *>(bytes.data())));
    } else
#endif
    {
        bytes = text.first(bad).toUtf8();
    }
    return codec::storedAll(src, bad, text.size(), error);
}

qsizetype encodedLength(QStringView text)
{
    const auto *src = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype size = text.size();
    // A unit below 0x80 is one byte, below 0x800 two, any other three; a surrogate pair is four.
    qsizetype bytes = size;
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i notAscii = _mm_set1_epi16(short(0xFF80));
    const __m128i notTwoByte = _mm_set1_epi16(short(0xF800));
    const __m128i surrogate = _mm_set1_epi16(short(0xD800));
    const __m128i zero = _mm_setzero_si128();
    while (size - i >= 8) {
        // Each unit adds at most 2 to its 16-bit counter: 16383 blocks before it could overflow.
        const qsizetype blocks = std::min<qsizetype>((size - i) / 8, 16383);
        const __m128i one = _mm_set1_epi16(1);
        __m128i counts = _mm_setzero_si128();
        for (qsizetype k = 0; k < blocks; ++k, i += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
            const __m128i high = _mm_and_si128(v, notTwoByte);
            counts = _mm_add_epi16(counts,
                                   _mm_andnot_si128(_mm_cmpeq_epi16(_mm_and_si128(v, notAscii), zero), one));
            counts = _mm_add_epi16(counts, _mm_andnot_si128(_mm_cmpeq_epi16(high, zero), one));
            counts = _mm_add_epi16(counts, _mm_cmpeq_epi16(high, surrogate)); // adds -1
        }
        alignas(16) qint16 lanes[8];
        _mm_store_si128(reinterpret_cast<__m128i *>(lanes), counts);
        for (qint16 lane : lanes)
            bytes += lane;
    }
#endif
    for (; i < size; ++i) {
        const char16_t c = src[i];
        bytes += (c >= 0x80) + (c >= 0x800) - codec::isHighSurrogate(c) - codec::isLowSurrogate(c);
    }
    return bytes;
}

qsizetype utf16Length(QByteArrayView validUtf8)
{
    const auto *p = reinterpret_cast<const uchar *>(validUtf8.data());
    const qsizetype size = validUtf8.size();
    // One unit for every byte that starts a character, one more for each four-byte lead.
    qsizetype units = 0;
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i lastContinuation = _mm_set1_epi8(char(0xBF)); // -65 as a signed byte
    const __m128i lastThreeByteLead = _mm_set1_epi8(char(0xEF ^ 0x80));
    const __m128i bias = _mm_set1_epi8(char(0x80));
    while (size - i >= 16) {
        // Each byte adds at most 2 to its counter: 127 blocks before it could overflow.
        const qsizetype blocks = std::min<qsizetype>((size - i) / 16, 127);
        __m128i counts = _mm_setzero_si128();
        for (qsizetype k = 0; k < blocks; ++k, i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            // Compares are signed: continuations are the bytes up to -65, and after flipping the
            // top bit, the four-byte leads are the ones above EF.
            counts = _mm_sub_epi8(counts, _mm_cmpgt_epi8(v, lastContinuation));
            counts = _mm_sub_epi8(counts, _mm_cmpgt_epi8(_mm_xor_si128(v, bias), lastThreeByteLead));
        }
        const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
        units += qsizetype(_mm_cvtsi128_si32(sums)) + qsizetype(_mm_extract_epi16(sums, 4));
    }
#endif
    for (; i < size; ++i)
        units += qsizetype(!isContinuation(p[i])) + qsizetype(p[i] >= 0xF0);
    return units;
}

} // namespace orvane::codec::utf8
