#include "text_position.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvane::batch {

namespace {

// Every CR and every LF, less the LFs right after a CR; text never starts right after a CR.
qsizetype countLineEnds(const char16_t *text, qsizetype size)
{
    qsizetype ends = 0;
    qsizetype i = 0;
    if (size > 0) {
        ends += text[0] == u'\r' || text[0] == u'\n';
        i = 1;
    }
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(u'\n');
    while (size - i >= 8) {
        // Unit counters of up to 32767 rounds, each round adding at most 1 to each.
        __m128i counts = _mm_setzero_si128();
        for (int round = 0; round < 32767 && size - i >= 8; ++round, i += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i));
            const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i - 1));
            const __m128i lfs = _mm_cmpeq_epi16(v, lf);
            const __m128i lfAfterCr = _mm_and_si128(_mm_cmpeq_epi16(before, cr), lfs);
            counts = _mm_sub_epi16(counts, _mm_cmpeq_epi16(v, cr));
            counts = _mm_sub_epi16(counts, _mm_andnot_si128(lfAfterCr, lfs));
        }
        alignas(16) int32_t sums[4];
        _mm_store_si128(reinterpret_cast<__m128i *>(sums), _mm_madd_epi16(counts, _mm_set1_epi16(1)));
        ends += sums[0] + sums[1] + sums[2] + sums[3];
    }
#endif
    for (; i < size; ++i) {
        const char16_t c = text[i];
        ends += c == u'\r' || (c == u'\n' && text[i - 1] != u'\r');
    }
    return ends;
}

} // namespace

void advance(TextPosition &at, QStringView text)
{
    const char16_t *units = text.utf16();
    qsizetype lineStart = text.size();
    while (lineStart > 0 && units[lineStart - 1] != u'\r' && units[lineStart - 1] != u'\n')
        --lineStart;
    qsizetype columns = 0;
    for (qsizetype i = lineStart; i < text.size(); ++i)
        columns += !QChar::isLowSurrogate(units[i]);
    if (lineStart > 0) {
        at.line += countLineEnds(units, lineStart);
        at.column = 1 + columns;
    } else {
        at.column += columns;
    }
}

} // namespace orvane::batch
