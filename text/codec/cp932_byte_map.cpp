#include "text/codec/cp932_byte_map.h"

#include "text/chars/convert.h"
#include "text/chars/voiced_mark.h"
#include "text/codec/block_cut.h"
#include "text/codec/cp932.h"

#include <cstring>
#include <map>
#include <mutex>

namespace orvane::codec {

namespace {

constexpr unsigned char voicedMark = 0xDE; // ﾞ
constexpr unsigned char semiVoicedMark = 0xDF; // ﾟ

// Code page 932 has the half-width characters U+FF61 to U+FF9F as the single bytes 0xA1 to 0xDF.
bool mayTakeMark(unsigned char b)
{
    return b >= 0xA1 && b <= 0xDF && chars::mayJoinVoicedMark(char16_t(0xFF61 + (b - 0xA1)));
}

// The target's bytes of what the kinds make of text, or nothing when the target cannot store them.
std::optional<QByteArray> converted(const QList<chars::ConversionKind> &kinds, QString text, TextEncoding to)
{
    for (chars::ConversionKind kind : kinds)
        text = orvane::chars::convert(kind, text);
    if (to != TextEncoding::ShiftJis)
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

std::unique_ptr<Cp932ByteMap> Cp932ByteMap::make(const QList<chars::ConversionKind> &kinds, TextEncoding to)
{
    if (kinds.size() > 1
        || !(to == TextEncoding::ShiftJis || to == TextEncoding::Utf8 || to == TextEncoding::Utf8Bom))
        return nullptr;
    auto map = std::unique_ptr<Cp932ByteMap>(new Cp932ByteMap);
    auto fill = [&](Entry &entry, QByteArrayView code) {
        const QString text = decoded(code);
        if (text.isEmpty())
            return true; // not a character: stays length 0
        const std::optional<QByteArray> bytes = converted(kinds, text, to);
        if (!bytes || bytes->size() > maxBytesPerByte * code.size())
            return false;
        std::memcpy(entry.bytes, bytes->constData(), size_t(bytes->size()));
        entry.length = uint8_t(bytes->size());
        return true;
    };
    int rows = 0;
    for (int b = 0; b < 256; ++b) {
        const bool lead = cp932::isLeadByte(uchar(b));
        map->m_start[b] = {lead ? 256 * (1 + rows++) : b, uint8_t(lead ? 0xFF : 0), uint8_t(lead ? 2 : 1), 0};
    }
    map->m_entries.reset(new Entry[size_t(256 * (1 + rows))]());
    for (int b = 0; b < 256; ++b) {
        const Start &start = map->m_start[b];
        if (start.step == 1) {
            const char single[] = {char(b)};
            if (!fill(map->m_entries[size_t(b)], QByteArrayView(single, 1)))
                return nullptr;
            continue;
        }
        for (int trail = 0; trail < 0x100; ++trail) {
            const char pair[] = {char(b), char(trail)};
            if (!fill(map->m_entries[size_t(start.base + trail)], QByteArrayView(pair, 2)))
                return nullptr;
        }
    }
    map->m_identityPairs = true;
    for (int b = 0, row = 0; b < 256; ++b) {
        const Start &start = map->m_start[b];
        if (start.step == 1)
            continue;
        for (int trail = 0; trail < 0x100; ++trail) {
            const Entry &e = map->m_entries[size_t(start.base + trail)];
            if (e.length == 0)
                continue;
            map->m_validPairs[row][trail >> 6] |= uint64_t(1) << (trail & 63);
            map->m_identityPairs
                = map->m_identityPairs && e.length == 2 && e.bytes[0] == b && e.bytes[1] == trail;
        }
        ++row;
    }
    // The conversions look back one character, from a voiced mark; find where that joins.
    for (int b = 0; b < 256; ++b) {
        if (map->m_start[b].step == 2)
            continue;
        for (const unsigned char mark : {voicedMark, semiVoicedMark}) {
            const char pair[] = {char(b), char(mark)};
            const std::optional<QByteArray> joined = converted(kinds, decoded(QByteArrayView(pair, 2)), to);
            const Entry &first = map->m_entries[size_t(b)];
            const Entry &second = map->m_entries[mark];
            if (!joined)
                return nullptr;
            const QByteArray apart = QByteArray(reinterpret_cast<const char *>(first.bytes), first.length)
                + QByteArray(reinterpret_cast<const char *>(second.bytes), second.length);
            if (*joined == apart)
                continue;
            if (!mayTakeMark(uchar(b)) || joined->size() > 2 * maxBytesPerByte)
                return nullptr;
            Entry &entry = map->m_joined[mark - voicedMark][b - 0xA0];
            std::memcpy(entry.bytes, joined->constData(), size_t(joined->size()));
            entry.length = uint8_t(joined->size());
            map->m_joins = true;
            map->m_start[b].takesMark = 1;
        }
    }
    return map;
}

// Building a byte map takes a few milliseconds; a run over many files builds each once.
const Cp932ByteMap *Cp932ByteMap::shared(const QList<chars::ConversionKind> &kinds, TextEncoding to)
{
    static std::mutex mutex;
    static std::map<std::pair<QList<chars::ConversionKind>, TextEncoding>, std::unique_ptr<Cp932ByteMap>>
        built;
    const std::lock_guard lock(mutex);
    auto key = std::make_pair(kinds, to);
    auto found = built.find(key);
    if (found == built.end())
        found = built.emplace(key, Cp932ByteMap::make(kinds, to)).first;
    return found->second.get();
}

qsizetype Cp932ByteMap::wholeCharacters(QByteArrayView bytes) const
{
    qsizetype size = codec::wholeCharacters(TextEncoding::ShiftJis, bytes);
    if (!m_joins || size == 0)
        return size;
    // A half-width letter at the end may join a mark at the start of the next block.
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype last = cp932LastCharacter(data, size);
    if (last == size - 1 && mayTakeMark(data[last]))
        return codec::wholeCharacters(TextEncoding::ShiftJis, bytes.first(last));
    return size;
}

Cp932ByteMap::Run Cp932ByteMap::convert(const unsigned char *in, qsizetype size, unsigned char *out) const
{
    return m_identityPairs ? convertAll<true>(in, size, out) : convertAll<false>(in, size, out);
}

template <bool IdentityPairs>
Cp932ByteMap::Run Cp932ByteMap::convertAll(const unsigned char *in, qsizetype size, unsigned char *out) const
{
    qsizetype i = 0;
    unsigned char *o = out;
    const Entry *const entries = m_entries.get();
    // Stops one byte early, so that there is always a next byte to look at.
    while (i + 1 < size) {
        const unsigned char b = in[i];
        const unsigned char next = in[i + 1];
        // Japanese text is mostly runs of double-byte characters: a branch the processor predicts.
        if (cp932::isLeadByte(b)) {
            if constexpr (IdentityPairs) {
                // The whole run of valid double-byte characters is copied at once.
                qsizetype j = i;
                while (j + 1 < size && cp932::isLeadByte(in[j]) && isValidPair(in[j], in[j + 1]))
                    j += 2;
                if (j == i) [[unlikely]]
                    break;
                std::memcpy(o, in + i, size_t(j - i));
                o += j - i;
                i = j;
                continue;
            } else {
                const Entry &e = entries[m_start[b].base + next];
                if (e.length == 0) [[unlikely]]
                    break;
                std::memcpy(o, &e, sizeof e);
                o += e.length;
            }
            i += 2;
            continue;
        }
        if (m_start[b].takesMark && (next == voicedMark || next == semiVoicedMark)) [[unlikely]] {
            const Entry &e = m_joined[next - voicedMark][b - 0xA0];
            if (e.length != 0) {
                std::memcpy(o, &e, sizeof e);
                o += e.length;
                i += 2;
                continue;
            }
        }
        const Entry &e = entries[b];
        std::memcpy(o, &e, sizeof e);
        o += e.length;
        ++i;
    }
    if (i + 1 == size && m_start[in[i]].step == 1) {
        const Entry &e = entries[in[i]];
        std::memcpy(o, &e, sizeof e);
        o += e.length;
        ++i;
    }
    return {i, o - out};
}

} // namespace orvane::codec
