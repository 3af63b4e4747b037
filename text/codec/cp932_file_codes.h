#pragma once
// Which of a character's several codes a code page 932 file used, where that is not the code
// Windows writes, so that a save gives back the file's own bytes.

#include <QByteArrayView>

#include <cstdint>
#include <memory>
#include <vector>

namespace orvane::codec::cp932 {

// The codes a file used for characters that have more than one (NEC row 13, the IBM extensions
// and their NEC-selected copies), kept only where the file's first use of the character was not
// Windows' code. Owns a small sorted list; a file without such codes costs no allocation.
class FileCodes {
public:
    // What valid code page 932 bytes used: for each character of several codes, its first code.
    static FileCodes of(QByteArrayView bytes);

    // The same over bytes given in pieces, each ending after a whole character.
    class Scanner {
    public:
        Scanner();
        ~Scanner();
        void add(QByteArrayView bytes);
        FileCodes take();

    private:
        std::unique_ptr<uint16_t[]> m_first; // the first code seen of each character, 0 while unseen
    };

    bool isEmpty() const { return m_entries.empty(); }
    qsizetype size() const { return qsizetype(m_entries.size()); }
    // The file's code for the character, or 0 when Windows' own applies.
    uint16_t codeOf(char16_t c) const
    {
        if (!((m_pages[c >> 14] >> ((c >> 8) & 63)) & 1))
            return 0;
        return lookUp(c);
    }

    struct Entry {
        char16_t character;
        uint16_t code;
        friend bool operator==(const Entry &, const Entry &) = default;
    };
    const std::vector<Entry> &entries() const { return m_entries; }
    // The same record for the other JIS-based encodings, whose decoders find the codes themselves.
    static FileCodes fromEntries(std::vector<Entry> sortedByCharacter);

    friend bool operator==(const FileCodes &, const FileCodes &) = default;

private:
    uint16_t lookUp(char16_t c) const;

    std::vector<Entry> m_entries; // sorted by character
    uint64_t m_pages[4] {}; // the high bytes of the characters in m_entries, one bit each
};

// True when a double-byte code with this lead byte may be a code Windows does not write.
constexpr bool mayBeOtherCode(unsigned lead) { return lead == 0x87 || (lead >= 0xED && lead <= 0xFC); }

} // namespace orvane::codec::cp932
