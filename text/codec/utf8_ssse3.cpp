// The UTF-8 check with 16-byte SSSE3 vectors; built with -mssse3, so it must include nothing that
// other files could share (an inline function compiled here could be picked for them).

#include "text/codec/utf8_kernels.h"
#include "text/codec/utf8_lookup.h"

#include <tmmintrin.h>

namespace orvane::codec::utf8::kernels {

namespace {

using namespace lookup;

__m128i table(const unsigned char (&t)[16]) { return _mm_load_si128(reinterpret_cast<const __m128i *>(t)); }

class Checker {
public:
    void check(__m128i input)
    {
        if (_mm_movemask_epi8(input) == 0) {
            // An ASCII block ends any sequence the previous one left open.
            m_error = _mm_or_si128(m_error, m_previousIncomplete);
            m_previousIncomplete = _mm_setzero_si128();
            m_previous = _mm_setzero_si128();
            return;
        }
        const __m128i prev1 = _mm_alignr_epi8(input, m_previous, 15);
        const __m128i prev2 = _mm_alignr_epi8(input, m_previous, 14);
        const __m128i prev3 = _mm_alignr_epi8(input, m_previous, 13);

        const __m128i special
            = _mm_and_si128(_mm_and_si128(_mm_shuffle_epi8(m_firstHigh, highNibble(prev1)),
                                          _mm_shuffle_epi8(m_firstLow, _mm_and_si128(prev1, m_lowNibble))),
                            _mm_shuffle_epi8(m_secondHigh, highNibble(input)));
        // Third and fourth bytes: a lead E0.. two back or F0.. three back asks for a continuation.
        const __m128i third = _mm_subs_epu8(prev2, _mm_set1_epi8(char(0xE0 - 0x80)));
        const __m128i fourth = _mm_subs_epu8(prev3, _mm_set1_epi8(char(0xF0 - 0x80)));
        const __m128i mustContinue = _mm_and_si128(_mm_or_si128(third, fourth), m_highBit);
        m_error = _mm_or_si128(m_error, _mm_xor_si128(mustContinue, special));

        m_previousIncomplete = _mm_subs_epu8(input, m_incompleteLimit);
        m_previous = input;
    }

    bool failed() const { return _mm_movemask_epi8(_mm_cmpeq_epi8(m_error, _mm_setzero_si128())) != 0xFFFF; }

    bool failedAtEnd()
    {
        m_error = _mm_or_si128(m_error, m_previousIncomplete);
        return failed();
    }

private:
    __m128i highNibble(__m128i v) const { return _mm_and_si128(_mm_srli_epi16(v, 4), m_lowNibble); }

    const __m128i m_firstHigh = table(firstHigh);
    const __m128i m_firstLow = table(firstLow);
    const __m128i m_secondHigh = table(secondHigh);
    const __m128i m_lowNibble = _mm_set1_epi8(0x0F);
    const __m128i m_highBit = _mm_set1_epi8(char(0x80));
    // A lead in one of the last three bytes whose sequence needs bytes of the next block.
    const __m128i m_incompleteLimit = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                                    char(0xF0 - 1), char(0xE0 - 1), char(0xC0 - 1));
    __m128i m_error = _mm_setzero_si128();
    __m128i m_previous = _mm_setzero_si128();
    __m128i m_previousIncomplete = _mm_setzero_si128();
};

} // namespace

std::ptrdiff_t checkSsse3(const unsigned char *data, std::ptrdiff_t size)
{
    Checker checker;
    std::ptrdiff_t chunk = 0;
    for (; size - chunk >= kChunkBytes; chunk += kChunkBytes) {
        for (std::ptrdiff_t i = 0; i < kChunkBytes; i += 16)
            checker.check(_mm_loadu_si128(reinterpret_cast<const __m128i *>(data + chunk + i)));
        if (checker.failed())
            return chunk;
    }
    std::ptrdiff_t i = chunk;
    for (; size - i >= 16; i += 16)
        checker.check(_mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i)));
    if (i < size) {
        // Zero padding: a sequence cut by the end meets a non-continuation and shows as an error.
        alignas(16) unsigned char last[16] = {};
        for (std::ptrdiff_t k = i; k < size; ++k)
            last[k - i] = data[k];
        checker.check(_mm_load_si128(reinterpret_cast<const __m128i *>(last)));
    }
    if (!checker.failedAtEnd())
        return size;
    // With nothing after the last whole chunk, a sequence that the end cuts off lies in that chunk.
    return chunk == size ? chunk - kChunkBytes : chunk;
}

} // namespace orvane::codec::utf8::kernels
