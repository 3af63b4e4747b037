// EUC-JP conversion over the generated tables in eucjp_tables.h. glibc's converters read JIS X 0208
// by the JIS tables (0xA1C1 as U+301C) where the Shift-JIS reading has Microsoft's characters, and
// know no NEC or IBM rows in plain EUC-JP, so the tables are ours.

#include "text/codec/eucjp.h"

#include "text/codec/ascii_runs.h"
#include "text/codec/eucjp_tables.h"
#include "text/codec/text_positions.h"

#include <algorithm>

namespace orvane::codec::eucjp {

namespace {

using namespace tables;

constexpr uint16_t encodeCode(char16_t c) { return encodePages[encodePage[c >> 8]][c & 0xFF]; }

// Every character that some code decodes to but encode writes with another, one bit each.
using CharacterSet = std::array<uint64_t, 0x10000 / 64>;
constexpr CharacterSet severalCodes = [] {
    CharacterSet set {};
    for (unsigned first = 0; first < 94; ++first) {
        for (unsigned second = 0; second < 94; ++second) {
            const char16_t p = primary[first][second];
            if (p != 0 && encodeCode(p) != ((0xA1 + first) << 8 | (0xA1 + second)))
                set[p >> 6] |= uint64_t(1) << (p & 63);
            const char16_t s = secondary[first][second];
            if (s != 0 && encodeCode(s) != ((0x21 + first) << 8 | (0x21 + second)))
                set[s >> 6] |= uint64_t(1) << (s & 63);
        }
    }
    return set;
}();

constexpr bool severalCodesOf(char16_t c) { return (severalCodes[c >> 6] >> (c & 63)) & 1; }

static_assert(primary[0xA1 - 0xA1][0xC1 - 0xA1] == 0xFF5E && encodeCode(0x301C) == 0xA1C1);
static_assert(encodeCode(0xFF76) == 0xB6 && encodeCode(0x2170) == 0x7373 && encodeCode(0x2460) == 0xADA1);
static_assert(severalCodesOf(0xFF5E) && !severalCodesOf(0x3042));

} // namespace

uint16_t codeOf(char16_t c) { return c < 0x80 ? 0 : encodeCode(c); }

char16_t primaryCharacter(unsigned first, unsigned second)
{
    return first - 0xA1 < 94 && second - 0xA1 < 94 ? primary[first - 0xA1][second - 0xA1] : 0;
}

char16_t secondaryCharacter(unsigned first, unsigned second)
{
    return first - 0xA1 < 94 && second - 0xA1 < 94 ? secondary[first - 0xA1][second - 0xA1] : 0;
}

bool canEncode(char32_t codePoint)
{
    return codePoint < 0x80 || (codePoint < 0x10000 && encodeCode(char16_t(codePoint)));
}

bool hasSeveralCodes(char16_t c) { return severalCodesOf(c); }

void CodeRecorder::note(char16_t c, uint16_t code)
{
    if (!m_seen)
        m_seen = std::make_unique<CharacterSet>();
    uint64_t &word = (*m_seen)[c >> 6];
    const uint64_t bit = uint64_t(1) << (c & 63);
    if (word & bit)
        return;
    word |= bit;
    if (encodeCode(c) != code)
        m_found.push_back({c, code});
}

FileCodes CodeRecorder::codes() const
{
    std::vector<FileCodes::Entry> sorted = m_found;
    std::sort(sorted.begin(), sorted.end(),
              [](const FileCodes::Entry &a, const FileCodes::Entry &b) { return a.character < b.character; });
    return FileCodes::fromEntries(std::move(sorted));
}

bool decode(QByteArrayView bytes, QString &text, DecodeError *error, FileCodes *codes)
{
    const auto [begin, end, outBegin] = codec::startDecode(bytes, text);
    const uchar *in = begin;
    char16_t *out = outBegin;
    CodeRecorder recorder;
    bool truncated = false;
    while (in < end) {
        if (codec::copyAscii(in, end, out))
            continue;
        const unsigned b = *in;
        const qsizetype left = end - in;
        if (b - 0xA1 < 94) {
            if (left < 2) {
                truncated = true;
                break;
            }
            const unsigned second = in[1] - 0xA1;
            if (second >= 94) [[unlikely]]
                break;
            const char16_t c = primary[b - 0xA1][second];
            if (c == 0) [[unlikely]]
                break;
            if (severalCodesOf(c)) [[unlikely]]
                recorder.note(c, uint16_t(b << 8 | in[1]));
            *out++ = c;
            in += 2;
            continue;
        }
        if (b == 0x8E) {
            if (left < 2) {
                truncated = true;
                break;
            }
            if (in[1] - 0xA1u >= 0xDF - 0xA1 + 1)
                break;
            *out++ = char16_t(0xFF61 + in[1] - 0xA1);
            in += 2;
            continue;
        }
        if (b == 0x8F) {
            if (left < 3) {
                truncated = left == 1 || in[1] - 0xA1u < 94;
                break;
            }
            const char16_t c = secondaryCharacter(in[1], in[2]);
            if (c == 0)
                break;
            if (severalCodesOf(c))
                recorder.note(c, uint16_t((in[1] & 0x7F) << 8 | (in[2] & 0x7F)));
            *out++ = c;
            in += 3;
            continue;
        }
        break;
    }
    const bool ok = in == end;
    const qsizetype length = out - outBegin;
    if (!ok && error) {
        // Every byte before the failure became one character or a part of one, line ends as they were.
        error->at = codec::positionOfUnit(outBegin, length);
        error->at.offset = in - begin;
        error->truncated = truncated;
    }
    text.resize(length);
    if (length < bytes.size())
        text.squeeze();
    if (codes)
        *codes = ok ? recorder.codes() : FileCodes();
    return ok;
}

bool encode(QStringView text, QByteArray &bytes, EncodeError *error, const FileCodes *codes)
{
    const qsizetype size = text.size();
    const char16_t *src = text.utf16();
    bytes = QByteArray(size * 3, Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(bytes.data());
    qsizetype j = 0;
    qsizetype i = 0;
    const bool ownCodes = codes && !codes->isEmpty();
    while (i < size) {
        if (codec::copyAsciiUnits(src, i, size, out, j))
            continue;
        const char16_t c = src[i];
        // The file's codes never name a surrogate.
        uint16_t code
            = ownCodes && !codec::isHighSurrogate(c) && !codec::isLowSurrogate(c) ? codes->codeOf(c) : 0;
        if (code == 0)
            code = encodeCode(c);
        if (code >= 0x8080) {
            out[j++] = uchar(code >> 8);
            out[j++] = uchar(code);
        } else if (code >= 0x100) {
            out[j++] = 0x8F;
            out[j++] = uchar(code >> 8 | 0x80);
            out[j++] = uchar(code | 0x80);
        } else if (code != 0) {
            out[j++] = 0x8E;
            out[j++] = uchar(code);
        } else {
            break;
        }
        ++i;
    }
    const bool ok = codec::storedAll(src, i, size, error);
    bytes.resize(j);
    if (j < bytes.capacity())
        bytes.squeeze();
    return ok;
}

} // namespace orvane::codec::eucjp
