// Code page 932 conversion over the generated tables in cp932_tables.h.
// Neither ICU, glibc nor Qt converts exactly as Windows does (single bytes 0x80, 0xA0, 0xFD-0xFF,
// the choice among duplicate codes, invisible characters dropped on writing), so the tables are ours.

#include "text/codec/cp932.h"

#include "text/codec/ascii_runs.h"
#include "text/codec/cp932_tables.h"
#include "text/codec/text_positions.h"
#include "text/codec/utf8.h"

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

// Writes c's one or two bytes at out[j] and moves j on; false when the code page cannot store c.
inline bool putCode(const EncodePages &pages, char16_t c, uchar *out, qsizetype &j)
{
    const uint16_t code = pages.page[c >> 8][c & 0xFF];
    if (code == 0)
        return false;
    if (code > 0xFF)
        out[j++] = uchar(code >> 8);
    out[j++] = uchar(code);
    return true;
}

// Converts src and returns where it stopped: at size, or at a character the code page cannot
// store.
qsizetype encodeRun(const char16_t *src, qsizetype size, uchar *out, qsizetype &j, const EncodePages &pages)
{
    qsizetype i = 0;
    while (i < size) {
        if (codec::copyAsciiUnits(src, i, size, out, j))
            continue;
        const char16_t c = src[i];
        if (!putCode(pages, c, out, j))
            break;
        ++i;
    }
    return i;
}

} // namespace

namespace {

// The encoding table with the file's own codes in place of Windows' ones; owns the patched pages.
class FilePages {
public:
    explicit FilePages(const FileCodes *codes)
        : m_pages(windowsPages)
    {
        if (!codes)
            return;
        m_patched.reserve(size_t(codes->size())); // at most one page a character: no reallocation
        for (const FileCodes::Entry &entry : codes->entries()) {
            const unsigned high = entry.character >> 8;
            if (m_pages.page[high] == windowsPages.page[high]) {
                m_patched.emplace_back();
                std::copy_n(windowsPages.page[high], 256, m_patched.back().begin());
                m_pages.page[high] = m_patched.back().data();
            }
            m_patched.back()[entry.character & 0xFF] = entry.code;
        }
    }
    const EncodePages &pages() const { return m_pages; }

private:
    EncodePages m_pages;
    std::vector<std::array<uint16_t, 256>> m_patched;
};

// encodeRun over well-formed UTF-8: returns where it stopped, at size or at the first byte of a
// character the code page cannot store (every one beyond the BMP).
qsizetype encodeUtf8Run(const uchar *src, qsizetype size, uchar *out, qsizetype &j, const EncodePages &pages)
{
    qsizetype i = 0;
    while (i < size) {
        const unsigned b = src[i];
        if (b < 0x80) {
#ifdef __SSE2__
            // Copies 16 bytes at a time up to the first that is not ASCII; stores up to 15 past it.
            if (size - i >= 16) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
                _mm_storeu_si128(reinterpret_cast<__m128i *>(out + j), v);
                const unsigned nonAscii = unsigned(_mm_movemask_epi8(v));
                const qsizetype run = nonAscii ? std::countr_zero(nonAscii) : 16;
                i += run;
                j += run;
                continue;
            }
#endif
            out[j++] = uchar(b);
            ++i;
            continue;
        }
        char16_t c = 0;
        qsizetype length = 0;
        if (b < 0xE0 && size - i >= 2) {
            length = 2;
            c = char16_t((b & 0x1F) << 6 | (src[i + 1] & 0x3F));
        } else if (b < 0xF0 && size - i >= 3) {
            length = 3;
            c = char16_t((b & 0x0F) << 12 | (src[i + 1] & 0x3F) << 6 | (src[i + 2] & 0x3F));
        } else {
            break;
        }
        if (!putCode(pages, c, out, j))
            break;
        i += length;
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
    const qsizetype i = codes && !codes->isEmpty() ? encodeRun(src, size, out, j, FilePages(codes).pages())
                                                   : encodeRun(src, size, out, j, windowsPages);
    const bool ok = codec::storedAll(src, i, size, error);
    bytes.resize(j);
    if (j < bytes.capacity())
        bytes.squeeze();
    return ok;
}

bool encodeUtf8(QByteArrayView utf8, QByteArray &bytes, EncodeError *error, const FileCodes *codes)
{
    const qsizetype size = utf8.size();
    const auto *src = reinterpret_cast<const uchar *>(utf8.data());
    // At most a byte of output for each byte of input, and room for the last ASCII store.
    bytes.resize(size + 16);
    auto *out = reinterpret_cast<uchar *>(bytes.data());
    qsizetype j = 0;
    const qsizetype i = codes && !codes->isEmpty()
        ? encodeUtf8Run(src, size, out, j, FilePages(codes).pages())
        : encodeUtf8Run(src, size, out, j, windowsPages);
    bytes.resize(j);
    const bool ok = i == size;
    if (!ok && error) {
        error->at = codec::positionOfUtf8Byte(src, i);
        QString c;
        utf8::decode(utf8.sliced(i, std::min<qsizetype>(4, size - i)), c);
        const char16_t first = c.isEmpty() ? char16_t(src[i]) : c[0].unicode();
        error->codePoint = first;
        if (c.size() > 1 && isHighSurrogate(first) && isLowSurrogate(c[1].unicode()))
            error->codePoint = 0x10000 + ((char32_t(first) - 0xD800) << 10) + (c[1].unicode() - 0xDC00);
    }
    return ok;
}

bool canEncode(char32_t codePoint)
{
    return codePoint == 0 || (codePoint < 0x10000 && encodeUnit(char16_t(codePoint)) != 0);
}

} // namespace orvane::codec::cp932
