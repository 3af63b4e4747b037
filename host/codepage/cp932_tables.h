#pragma once
// The generated tables of code page 932 (cp932_tables.cpp, made by gen_cp932_tables.py).

#include <cstdint>

namespace orvane::cp932::tables {

// Lead bytes are 0x81-0x9F and 0xE0-0xFC; trail bytes 0x40-0xFC without 0x7F.
inline constexpr int kLeadCount = 60;
inline constexpr int kTrailFirst = 0x40;
inline constexpr int kRowSize = 0x100 - kTrailFirst;
inline constexpr char16_t kLeadByte = 0xFFFF; // never a character of the code page

constexpr int leadRow(unsigned lead) { return lead < 0xE0 ? int(lead) - 0x81 : int(lead) - 0xE0 + 31; }

extern const char16_t singleByte[256];
extern const char16_t doubleByte[kLeadCount][kRowSize];
extern const uint8_t encodePage[256];
extern const uint16_t encodePages[][256];

} // namespace orvane::cp932::tables
