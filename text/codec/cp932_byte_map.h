#pragma once
// A byte map from code page 932 for one conversion (or none) into code page 932 or UTF-8: what
// each code becomes, worked out once through the real decoder, conversion and encoder, so that it
// gives exactly their result without going through UTF-16. Owns its tables.

#include "text/chars/conversion_kind.h"
#include "text/codec/text_encoding.h"

#include <QByteArrayView>
#include <QList>

#include <cstdint>
#include <memory>

namespace orvane::codec {

class Cp932ByteMap {
public:
    // Nothing when the conversion has no exact byte map (more than one kind, another target,
    // a code whose result the target cannot store).
    static std::unique_ptr<Cp932ByteMap> make(const QList<chars::ConversionKind> &kinds, TextEncoding to);
    // The same, made once for each conversion and kept for the process.
    static const Cp932ByteMap *shared(const QList<chars::ConversionKind> &kinds, TextEncoding to);

    // No code's result is longer than this many bytes per byte of the code (make() refuses a map
    // where one would be): a single byte widens to three UTF-8 bytes (ｶ → カ), a double-byte code
    // narrows to six (ガ → ｶﾞ).
    static constexpr qsizetype maxBytesPerByte = 3;
    // Output room convert() needs for size input bytes: convert() copies whole 8-byte entries and
    // moves on by their length, so the last one may write up to 8 bytes past its result.
    static constexpr qsizetype outputRoom(qsizetype size) { return maxBytesPerByte * size + 8; }

    // The longest start of bytes whose conversion the next block cannot change.
    qsizetype wholeCharacters(QByteArrayView bytes) const;

    struct Run {
        qsizetype read; // bytes converted; less than size at an invalid code
        qsizetype written;
    };
    // bytes must start on a character.
    Run convert(const unsigned char *bytes, qsizetype size, unsigned char *out) const;

private:
    struct Entry {
        uint8_t bytes[7];
        uint8_t length; // 0: not a character
    };
    static_assert(sizeof(Entry) == 8 && 2 * maxBytesPerByte <= sizeof(Entry::bytes));

    // How a byte starts a character: its entry is m_entries[base + (next byte & mask)], and the
    // character is step bytes long.
    struct Start {
        int32_t base;
        uint8_t mask;
        uint8_t step;
        uint8_t takesMark; // a half-width letter that a following ﾞ or ﾟ may join
        uint8_t unused = 0;
    };

    bool isValidPair(unsigned lead, unsigned trail) const
    {
        const unsigned row = lead < 0xE0 ? lead - 0x81 : lead - 0xE0 + 31;
        return (m_validPairs[row][trail >> 6] >> (trail & 63)) & 1;
    }
    template <bool IdentityPairs>
    Run convertAll(const unsigned char *bytes, qsizetype size, unsigned char *out) const;

    Start m_start[256] {};
    std::unique_ptr<Entry[]> m_entries; // 256 single bytes, then 256 a lead byte (all trails)
    // Every double-byte character stays as it is: then only whether a pair is one is looked up,
    // in a table small enough to stay in the first-level cache.
    bool m_identityPairs = false;
    uint64_t m_validPairs[60][4] {};
    // A half-width letter (0xA0-0xDF) followed by ﾞ (row 0) or ﾟ (row 1), where the pair is
    // converted as one.
    Entry m_joined[2][0x40] {};
    bool m_joins = false;
};

} // namespace orvane::codec
