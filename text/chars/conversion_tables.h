#pragma once
// What each conversion kind makes of every UTF-16 unit, built once per kind on first use: a 64K
// table, a marker for the units that need their neighbours (surrogate pairs, voiced marks,
// characters that become two), and for SSE2 a description of 8-unit blocks that can be mapped
// without the table. char_conv.cpp runs the text through them.

#include "text/chars/case_pair.h"
#include "text/chars/conversion_kind.h"

#include <array>
#include <memory>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvane::chars {

// Which rows of the width tables a width conversion uses.
struct WidthBlocks {
    bool ascii; // space and U+0021–U+007E, or their full-width forms
    bool kana; // the half-width block U+FF61–U+FF9F, or its full-width forms
    bool symbols; // ¢ £ ¥ ¦ ¬ ¯ ₩ (Wide only)
};

// Table value of a unit that its kind's special() handles. U+FFFF itself maps to U+FFFF, which
// special() also gives back unchanged.
constexpr char16_t kSpecial = 0xFFFF;

struct UnitRange {
    char16_t first;
    char16_t last;
};

// A block of units that a kind maps by adding one constant (a–z → A–Z, ぁ–ゖ → ァ–ヶ).
struct OffsetRange {
    char16_t first;
    char16_t last;
    char16_t delta; // added modulo 2^16
};

constexpr int kMaxOffsets = 3;
constexpr int kMaxActive = 4;

struct Tables {
    char16_t map[0x10000]; // what each unit becomes
    char16_t at(char16_t c) const { return map[c]; }
    std::array<OffsetRange, kMaxOffsets> offsets {};
    int offsetCount = 0;
    // A few ranges that cover every unit not mapped by the offsets; a block with none of them is
    // mapped by the offsets alone.
    std::array<UnitRange, kMaxActive> active {};
    int activeCount = 0;
#ifdef __SSE2__
    __m128i offBias[kMaxOffsets];
    __m128i offLimit[kMaxOffsets];
    __m128i offDelta[kMaxOffsets];
    __m128i actBias[kMaxActive];
    __m128i actLimit[kMaxActive];
    bool asciiInactive = true; // no active range reaches below U+0080
#endif
    // What a half-width letter and a following ﾞ (row 0) or ﾟ (row 1) become, or 0; by letter −
    // U+FF60.
    char16_t voiced[2][0x40] = {};
    // Narrow: the two half-width units of a full-width katakana, by katakana − U+30A0.
    char16_t narrowPairs[0x60][2] = {};
};

// A sorted case table's mapping of c, or c itself.
char32_t lookUpCase(const CasePair *first, const CasePair *last, char32_t c);

std::unique_ptr<Tables> buildTables(ConversionKind kind);

template <ConversionKind K> const Tables &tables()
{
    static const std::unique_ptr<Tables> t = buildTables(K);
    return *t;
}

} // namespace orvane::chars
