#include "text/codec/cp932_file_codes.h"

#include "text/codec/cp932_tables.h"

#include <algorithm>
#include <array>
#include <memory>

namespace orvane::codec::cp932 {

namespace {

using namespace tables;

constexpr uint16_t windowsCode(char16_t c) { return encodePages[encodePage[c >> 8]][c & 0xFF]; }

constexpr unsigned leadOfRow(unsigned row) { return row < 31 ? 0x81 + row : 0xE0 + row - 31; }

// Every character that some code decodes to but Windows writes with another code, one bit each.
using CharacterSet = std::array<uint64_t, 0x10000 / 64>;
constexpr CharacterSet severalCodes = [] {
    CharacterSet set {};
    for (unsigned row = 0; row < kLeadCount; ++row) {
        for (unsigned column = 0; column < kRowSize; ++column) {
            const char16_t c = doubleByte[row][column];
            const unsigned code = leadOfRow(row) << 8 | (column + kTrailFirst);
            if (c != 0 && windowsCode(c) != code)
                set[c >> 6] |= uint64_t(1) << (c & 63);
        }
    }
    return set;
}();

constexpr bool hasSeveralCodes(char16_t c) { return (severalCodes[c >> 6] >> (c & 63)) & 1; }

// The decoder looks for other codes only after these lead bytes; the table must agree.
constexpr int otherCodeCount = [] {
    int count = 0;
    for (unsigned row = 0; row < kLeadCount; ++row) {
        for (unsigned column = 0; column < kRowSize; ++column) {
            const char16_t c = doubleByte[row][column];
            const unsigned code = leadOfRow(row) << 8 | (column + kTrailFirst);
            if (c != 0 && windowsCode(c) != code)
                count += mayBeOtherCode(leadOfRow(row)) ? 1 : 1000;
        }
    }
    return count;
}();
static_assert(otherCodeCount == 398);

} // namespace

FileCodes FileCodes::of(QByteArrayView bytes)
{
    Scanner scanner;
    scanner.add(bytes);
    return scanner.take();
}

FileCodes::Scanner::Scanner() = default;
FileCodes::Scanner::~Scanner() = default;

void FileCodes::Scanner::add(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = p + bytes.size();
    while (p < end) {
        const unsigned b = *p;
        if (singleByte[b] != kLeadByte || end - p < 2) {
            ++p;
            continue;
        }
        const unsigned column = p[1] - kTrailFirst;
        p += 2;
        if (column >= kRowSize)
            continue;
        const char16_t c = doubleByte[leadRow(b)][column];
        if (c == 0 || !hasSeveralCodes(c))
            continue;
        if (!m_first)
            m_first = std::make_unique<uint16_t[]>(0x10000);
        if (m_first[c] == 0)
            m_first[c] = uint16_t(b << 8 | p[-1]);
    }
}

FileCodes FileCodes::Scanner::take()
{
    FileCodes codes;
    if (!m_first)
        return codes;
    for (unsigned c = 0; c < 0x10000; ++c) {
        if (m_first[c] == 0 || m_first[c] == windowsCode(char16_t(c)))
            continue;
        codes.m_entries.push_back({char16_t(c), m_first[c]});
        codes.m_pages[c >> 14] |= uint64_t(1) << ((c >> 8) & 63);
    }
    m_first.reset();
    return codes;
}

FileCodes FileCodes::fromEntries(std::vector<Entry> sortedByCharacter)
{
    FileCodes codes;
    codes.m_entries = std::move(sortedByCharacter);
    for (const Entry &entry : codes.m_entries)
        codes.m_pages[entry.character >> 14] |= uint64_t(1) << ((entry.character >> 8) & 63);
    return codes;
}

uint16_t FileCodes::lookUp(char16_t c) const
{
    const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), c,
                                     [](const Entry &entry, char16_t key) { return entry.character < key; });
    return it != m_entries.end() && it->character == c ? it->code : 0;
}

} // namespace orvane::codec::cp932
