// Code page 932 conversion over the generated tables in cp932_tables.h.
// Neither ICU, glibc nor Qt converts exactly as Windows does (single bytes 0x80, 0xA0, 0xFD-0xFF,
// the choice among duplicate codes, invisible characters dropped on writing), so the tables are ours.

#include "text/codec/cp932.h"

#include "text/codec/ascii_runs.h"
#include "text/codec/cp932_tables.h"
#include "text/codec/text_positions.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace orvane::codec::cp932 {

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

using codec::isHighSurrogate;
using codec::isLowSurrogate;
#ifdef __SSE2__
using codec::narrowAsciiRun;
using codec::widenAsciiRun;
#endif

} // namespace

bool decode(QByteArrayView bytes, QString &text, DecodeError *error, FileCodes *codes)
{
    const auto [begin, end, outBegin] = codec::startDecode(bytes, text);
    const uchar *in = begin;
    char16_t *out = outBegin;
    bool otherCodes = false;
    // Stops one byte early, so that a lead byte always has a byte after it to look at.
    while (end - in > 1) {
        if (codec::copyAscii(in, end, out))
            continue;
        const unsigned b = *in;
        char16_t u = singleByte[b];
        if (u == kLeadByte) {
            u = decodePair(b, in[1]);
            if (u == 0) [[unlikely]]
                break;
            otherCodes |= mayBeOtherCode(b);
            ++in;
        }
        *out++ = u;
        ++in;
    }
    if (in + 1 == end && singleByte[*in] != kLeadByte)
        *out++ = singleByte[*in++];
    const bool ok = in == end;
    if (!ok && error) {
        error->at = codec::positionOfCp932Byte(begin, in - begin);
        error->truncated = in + 1 == end;
    }
    const qsizetype length = out - outBegin;
    text.resize(length);
    // Double-byte text leaves up to half the buffer unused; give it back.
    if (length < bytes.size())
        text.squeeze();
    if (codes)
        *codes = ok && otherCodes ? FileCodes::of(bytes) : FileCodes();
    return ok;
}

namespace {

// The encoding table as one pointer per high byte, so that a file's own codes can replace a few
// pages with patched copies at no cost to the loop.
struct EncodePages {
    const uint16_t *page[256];
};

constexpr EncodePages windowsPages = [] {
    EncodePages pages {};
    for (unsigned high = 0; high < 256; ++high)
        pages.page[high] = encodePages[encodePage[high]];
    return pages;
}();

// Converts src and returns where it stopped: at size, or at a character the code page cannot
// store.
qsizetype encodeRun(const char16_t *src, qsizetype size, uchar *out, qsizetype &j, const EncodePages &pages)
{
    qsizetype i = 0;
    while (i < size) {
        if (codec::copyAsciiUnits(src, i, size, out, j))
            continue;
        const char16_t c = src[i];
        const uint16_t code = pages.page[c >> 8][c & 0xFF];
        if (code == 0)
            break;
        if (code > 0xFF)
            out[j++] = uchar(code >> 8);
        out[j++] = uchar(code);
        ++i;
    }
    return i;
}

} // namespace

bool encode(QStringView text, QByteArray &bytes, EncodeError *error, const FileCodes *codes)
{
    const qsizetype size = text.size();
    const char16_t *src = text.utf16();
    bytes = QByteArray(size * 2, Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(bytes.data());
    qsizetype j = 0;
    qsizetype i = 0;
    if (codes && !codes->isEmpty()) {
        EncodePages pages = windowsPages;
        std::vector<std::array<uint16_t, 256>> patched;
        patched.reserve(size_t(codes->size())); // at most one page a character: no reallocation
        for (const FileCodes::Entry &entry : codes->entries()) {
            const unsigned high = entry.character >> 8;
            if (pages.page[high] == windowsPages.page[high]) {
                patched.emplace_back();
                std::copy_n(windowsPages.page[high], 256, patched.back().begin());
                pages.page[high] = patched.back().data();
            }
            patched.back()[entry.character & 0xFF] = entry.code;
        }
        i = encodeRun(src, size, out, j, pages);
    } else {
        i = encodeRun(src, size, out, j, windowsPages);
    }
    const bool ok = codec::storedAll(src, i, size, error);
    bytes.resize(j);
    if (j < bytes.capacity())
        bytes.squeeze();
    return ok;
}

bool canEncode(char32_t codePoint)
{
    return codePoint == 0 || (codePoint < 0x10000 && encodeUnit(char16_t(codePoint)) != 0);
}

} // namespace orvane::codec::cp932
