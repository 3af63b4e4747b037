#include "cp932_direct.h"

#include "block_cut.h"
#include "convert.h"

#include "host/codepage/cp932.h"

#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvane::batch {

namespace {

constexpr unsigned char kVoicedMark = 0xDE; // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF; // ﾟ

// What a mark after it may join: a half-width character other than the marks themselves.
bool mayTakeMark(unsigned char b) { return b >= 0xA1 && b < kVoicedMark; }

// The target's bytes of what the kinds make of text, or nothing when the target cannot store them.
std::optional<QByteArray> converted(const QList<ConversionKind> &kinds, QString text, Encoding to)
{
    for (ConversionKind kind : kinds)
        text = orvane::convert(kind, text);
    if (to != Encoding::Cp932)
        return text.toUtf8();
    QByteArray bytes;
    if (!cp932::encode(text, bytes))
        return std::nullopt;
    return bytes;
}

QString decoded(QByteArrayView bytes)
{
    QString text;
    return cp932::decode(bytes, text) ? text : QString();
}

} // namespace

std::unique_ptr<Cp932Direct> Cp932Direct::make(const QList<ConversionKind> &kinds, Encoding to)
{
    if (kinds.size() > 1 || !(to == Encoding::Cp932 || to == Encoding::Utf8 || to == Encoding::Utf8Bom))
        return nullptr;
    auto map = std::unique_ptr<Cp932Direct>(new Cp932Direct);
    auto fill = [&](Entry &entry, QByteArrayView code) {
        const QString text = decoded(code);
        if (text.isEmpty())
            return true; // not a character: stays length 0
        const std::optional<QByteArray> bytes = converted(kinds, text, to);
        if (!bytes || bytes->size() > qsizetype(sizeof entry.bytes))
            return false;
        std::memcpy(entry.bytes, bytes->constData(), size_t(bytes->size()));
        entry.length = uint8_t(bytes->size());
        return true;
    };
    int rows = 0;
    for (int b = 0; b < 256; ++b)
        map->m_row[b] = isCp932Lead(uchar(b)) ? kTrails * rows++ : -1;
    map->m_pairs.reset(new Entry[size_t(kTrails * rows)]());
    for (int b = 0; b < 256; ++b) {
        const char single[] = { char(b) };
        if (map->m_row[b] < 0) {
            if (!fill(map->m_single[b], QByteArrayView(single, 1)))
                return nullptr;
            continue;
        }
        for (int trail = 0x40; trail < 0x100; ++trail) {
            const char pair[] = { char(b), char(trail) };
            if (!fill(map->m_pairs[size_t(map->m_row[b] + trail - 0x40)], QByteArrayView(pair, 2)))
                return nullptr;
        }
    }
    // The conversions look back one character, from a voiced mark; find where that joins.
    for (int b = 0; b < 256; ++b) {
        if (map->m_row[b] >= 0)
            continue;
        for (const unsigned char mark : { kVoicedMark, kSemiVoicedMark }) {
            const char pair[] = { char(b), char(mark) };
            const std::optional<QByteArray> joined = converted(kinds, decoded(QByteArrayView(pair, 2)), to);
            const Entry &first = map->m_single[b];
            const Entry &second = map->m_single[mark];
            if (!joined)
                return nullptr;
            const QByteArray apart = QByteArray(reinterpret_cast<const char *>(first.bytes), first.length)
                + QByteArray(reinterpret_cast<const char *>(second.bytes), second.length);
            if (*joined == apart)
                continue;
            if (!mayTakeMark(uchar(b)) || joined->size() > qsizetype(sizeof(Entry::bytes)))
                return nullptr;
            Entry &entry = map->m_joined[mark - kVoicedMark][b - 0xA0];
            std::memcpy(entry.bytes, joined->constData(), size_t(joined->size()));
            entry.length = uint8_t(joined->size());
            map->m_joins = true;
        }
    }
    return map;
}

qsizetype Cp932Direct::wholeCharacters(QByteArrayView bytes) const
{
    qsizetype size = batch::wholeCharacters(Encoding::Cp932, bytes);
    if (!m_joins || size == 0)
        return size;
    // A half-width letter at the end may join a mark at the start of the next block.
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype last = cp932LastCharacter(data, size);
    if (last == size - 1 && mayTakeMark(data[last]))
        return batch::wholeCharacters(Encoding::Cp932, bytes.first(last));
    return size;
}

Cp932Direct::Run Cp932Direct::convert(const unsigned char *in, qsizetype size, unsigned char *out) const
{
    qsizetype i = 0;
    unsigned char *o = out;
    const Entry *const pairs = m_pairs.get();
    while (i < size) {
        const unsigned char b = in[i];
        const int32_t row = m_row[b];
        if (row >= 0) {
            if (i + 1 == size)
                break;
            const unsigned column = unsigned(in[i + 1]) - 0x40;
            if (column >= unsigned(kTrails))
                break;
            const Entry &e = pairs[row + int32_t(column)];
            if (e.length == 0)
                break;
            std::memcpy(o, &e, sizeof e);
            o += e.length;
            i += 2;
            continue;
        }
        if (m_joins && i + 1 < size && (in[i + 1] == kVoicedMark || in[i + 1] == kSemiVoicedMark) && mayTakeMark(b)) {
            const Entry &e = m_joined[in[i + 1] - kVoicedMark][b - 0xA0];
            if (e.length != 0) {
                std::memcpy(o, &e, sizeof e);
                o += e.length;
                i += 2;
                continue;
            }
        }
        const Entry &e = m_single[b];
        std::memcpy(o, &e, sizeof e);
        o += e.length;
        ++i;
    }
    return { i, o - out };
}

namespace {

// Line ends in bytes: every CR and every LF, less the LFs right after a CR (bytes[-1] included
// when previous says it is a CR).
qsizetype countLineEnds(const unsigned char *bytes, qsizetype size)
{
    qsizetype ends = 0;
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    unsigned carry = 0; // the last byte of the previous 16 was a CR
    for (; size - i >= 16; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
        const unsigned crs = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
        const unsigned lfs = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
        ends += std::popcount(crs) + std::popcount(lfs & ~((crs << 1) | carry));
        carry = crs >> 15;
    }
    if (carry && i < size && bytes[i] == '\n')
        ++i; // already counted with its CR
#endif
    for (; i < size; ++i) {
        const unsigned char c = bytes[i];
        ends += c == '\r' || (c == '\n' && !(i > 0 && bytes[i - 1] == '\r'));
    }
    return ends;
}

} // namespace

void advanceCp932(TextPosition &at, const unsigned char *bytes, qsizetype size)
{
    qsizetype lineStart = size;
    while (lineStart > 0 && bytes[lineStart - 1] != '\r' && bytes[lineStart - 1] != '\n')
        --lineStart;
    // CR and LF are never trail bytes, so a line starts on a character.
    qsizetype columns = 0;
    for (qsizetype i = lineStart; i < size; i += isCp932Lead(bytes[i]) ? 2 : 1)
        ++columns;
    if (lineStart > 0) {
        at.line += countLineEnds(bytes, lineStart);
        at.column = 1 + columns;
    } else {
        at.column += columns;
    }
}

} // namespace orvane::batch
