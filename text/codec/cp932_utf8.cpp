// Code page 932 straight to UTF-8 over tables derived at compile time from cp932_tables.h, so that
// both decoders read every code alike.

#include "text/codec/ascii_runs.h"
#include "text/codec/cp932.h"

#include "text/codec/cp932_tables.h"

#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvane::codec::cp932 {

namespace {

using namespace tables;

// A character's UTF-8 bytes in the low three bytes, their count in the top one; 0 is no character.
constexpr uint32_t utf8Entry(char16_t c)
{
    if (c < 0x80)
        return 1u << 24 | c;
    if (c < 0x800)
        return 2u << 24 | (0x80u | (c & 0x3F)) << 8 | (0xC0u | c >> 6);
    return 3u << 24 | (0x80u | (c & 0x3F)) << 16 | (0x80u | ((c >> 6) & 0x3F)) << 8 | (0xE0u | c >> 12);
}

constexpr uint32_t leadMark = 0xFFFFFFFF;

struct Utf8Tables {
    uint32_t single[256];
    uint32_t pairs[kLeadCount][kRowSize];
    // Lead bytes whose every character is three bytes long in UTF-8 (all but the rows of Latin,
    // Greek and Cyrillic symbols): there the output moves on without waiting for the table.
    bool threeBytes[256];
};

constexpr Utf8Tables utf8Tables = [] {
    Utf8Tables t {};
    for (unsigned b = 0; b < 256; ++b)
        t.single[b] = singleByte[b] == kLeadByte ? leadMark : utf8Entry(singleByte[b]);
    for (unsigned row = 0; row < kLeadCount; ++row) {
        for (unsigned column = 0; column < kRowSize; ++column) {
            const char16_t c = doubleByte[row][column];
            t.pairs[row][column] = c == 0 ? 0 : utf8Entry(c);
        }
    }
    for (unsigned b = 0; b < 256; ++b) {
        if (singleByte[b] != kLeadByte)
            continue;
        bool three = true;
        for (unsigned column = 0; column < kRowSize; ++column)
            three = three && (t.pairs[leadRow(b)][column] == 0 || t.pairs[leadRow(b)][column] >> 24 == 3);
        t.threeBytes[b] = three;
    }
    return t;
}();

static_assert(utf8Tables.single[0x41] == (1u << 24 | 0x41));
static_assert(utf8Tables.single[0xB1] == (3u << 24 | 0xB1BDEF)); // ｱ U+FF71: EF BD B1

} // namespace

bool decodeToUtf8(QByteArrayView bytes, QByteArray &utf8, qsizetype &units, DecodeError *error,
                  FileCodes *codes)
{
    const qsizetype size = bytes.size();
    const auto *const begin = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = begin + size;
    // At most three bytes a byte (a half-width katakana), and room for the four-byte stores.
    utf8.resize(3 * size + 16); // keeps a buffer of an earlier block
    auto *const outBegin = reinterpret_cast<uchar *>(utf8.data());
    const uchar *in = begin;
    uchar *out = outBegin;
    qsizetype pairs = 0;
    bool otherCodes = false;
    // Stops one byte early, so that a lead byte always has a byte after it to look at.
    while (end - in > 1) {
        if (codec::copyAscii(in, end, out))
            continue;
        const unsigned b = *in;
        uint32_t entry = utf8Tables.single[b];
        if (entry == leadMark) {
            const unsigned column = in[1] - kTrailFirst; // wraps above kRowSize below 0x40
            entry = column < kRowSize ? utf8Tables.pairs[leadRow(b)][column] : 0;
            if (entry == 0) [[unlikely]]
                break;
            otherCodes |= mayBeOtherCode(b);
            ++pairs;
            in += 2;
            std::memcpy(out, &entry, 4);
            out += utf8Tables.threeBytes[b] ? 3 : entry >> 24;
            continue;
        }
        std::memcpy(out, &entry, 4);
        out += entry >> 24;
        ++in;
    }
    if (in + 1 == end && utf8Tables.single[*in] != leadMark) {
        const uint32_t entry = utf8Tables.single[*in++];
        std::memcpy(out, &entry, 4);
        out += entry >> 24;
    }
    const bool ok = in == end;
    if (!ok && error) {
        // The other decoder stops at the same place and knows its line and column.
        QString text;
        decode(bytes, text, error);
    }
    units = (in - begin) - pairs;
    utf8.truncate(out - outBegin);
    if (codes)
        *codes = ok && otherCodes ? FileCodes::of(bytes) : FileCodes();
    return ok;
}

} // namespace orvane::codec::cp932
