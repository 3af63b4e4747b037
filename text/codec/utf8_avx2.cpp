// The UTF-8 check with 32-byte AVX2 vectors; built with -mavx2, so it must include nothing that
// other files could share (an inline function compiled here could be picked for them).

#include "text/codec/utf8_kernels.h"
#include "text/codec/utf8_lookup.h"

#include <immintrin.h>

namespace orvane::codec::utf8::kernels {

namespace {

using namespace lookup;

__m256i table(const unsigned char (&t)[16])
{
    return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i *>(t)));
}

class Checker {
public:
    void check(__m256i input)
    {
        if (_mm256_testz_si256(input, m_highBit)) {
            // An ASCII block ends any sequence the previous one left open.
            m_error = _mm256_or_si256(m_error, m_previousIncomplete);
            m_previousIncomplete = _mm256_setzero_si256();
            m_previous = _mm256_setzero_si256();
            return;
        }
        const __m256i carried = _mm256_permute2x128_si256(m_previous, input, 0x21);
        const __m256i prev1 = _mm256_alignr_epi8(input, carried, 15);
        const __m256i prev2 = _mm256_alignr_epi8(input, carried, 14);
        const __m256i prev3 = _mm256_alignr_epi8(input, carried, 13);

        const __m256i special = _mm256_and_si256(
            _mm256_and_si256(_mm256_shuffle_epi8(m_firstHigh, highNibble(prev1)),
                             _mm256_shuffle_epi8(m_firstLow, _mm256_and_si256(prev1, m_lowNibble))),
            _mm256_shuffle_epi8(m_secondHigh, highNibble(input)));
        // Third and fourth bytes: a lead E0.. two back or F0.. three back asks for a continuation.
        const __m256i third = _mm256_subs_epu8(prev2, _mm256_set1_epi8(char(0xE0 - 0x80)));
        const __m256i fourth = _mm256_subs_epu8(prev3, _mm256_set1_epi8(char(0xF0 - 0x80)));
        const __m256i mustContinue = _mm256_and_si256(_mm256_or_si256(third, fourth), m_highBit);
        m_error = _mm256_or_si256(m_error, _mm256_xor_si256(mustContinue, special));

        m_previousIncomplete = _mm256_subs_epu8(input, m_incompleteLimit);
        m_previous = input;
    }

    bool failed() const { return !_mm256_testz_si256(m_error, m_error); }

    bool failedAtEnd()
    {
        m_error = _mm256_or_si256(m_error, m_previousIncomplete);
        return !_mm256_testz_si256(m_error, m_error);
    }

private:
    __m256i highNibble(__m256i v) const { return _mm256_and_si256(_mm256_srli_epi16(v, 4), m_lowNibble); }

    const __m256i m_firstHigh = table(firstHigh);
    const __m256i m_firstLow = table(firstLow);
    const __m256i m_secondHigh = table(secondHigh);
    const __m256i m_lowNibble = _mm256_set1_epi8(0x0F);
    const __m256i m_highBit = _mm256_set1_epi8(char(0x80));
    // A lead in one of the last three bytes whose sequence needs bytes of the next block.
    const __m256i m_incompleteLimit
        = _mm256_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                           -1, -1, -1, -1, -1, -1, -1, -1, char(0xF0 - 1), char(0xE0 - 1), char(0xC0 - 1));
    __m256i m_error = _mm256_setzero_si256();
    __m256i m_previous = _mm256_setzero_si256();
    __m256i m_previousIncomplete = _mm256_setzero_si256();
};

} // namespace

std::ptrdiff_t checkAvx2(const unsigned char *data, std::ptrdiff_t size)
{
    Checker checker;
    std::ptrdiff_t chunk = 0;
    for (; size - chunk >= kChunkBytes; chunk += kChunkBytes) {
        for (std::ptrdiff_t i = 0; i < kChunkBytes; i += 32)
            checker.check(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(data + chunk + i)));
        if (checker.failed())
            return chunk;
    }
    std::ptrdiff_t i = chunk;
    for (; size - i >= 32; i += 32)
        checker.check(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(data + i)));
    if (i < size) {
        // Zero padding: a sequence cut by the end meets a non-continuation and shows as an error.
        alignas(32) unsigned char last[32] = {};
        for (std::ptrdiff_t k = i; k < size; ++k)
            last[k - i] = data[k];
        checker.check(_mm256_load_si256(reinterpret_cast<const __m256i *>(last)));
    }
    if (!checker.failedAtEnd())
        return size;
    // With nothing after the last whole chunk, a sequence that the end cuts off lies in that chunk.
    return chunk == size ? chunk - kChunkBytes : chunk;
}

} // namespace orvane::codec::utf8::kernels
