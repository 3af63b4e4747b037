#pragma once
// The character tables of the kana conversions (Katakana, Hiragana). Hiragana and katakana sit in
// two blocks at the same distance, so each mapping is a range of that block plus its exceptions.

#include <iterator>

namespace orvane::chars {

struct KanaRange {
    char16_t first;
    char16_t last;
};

// Every hiragana is 0x60 below its katakana: か U+304B, カ U+30AB.
inline constexpr char16_t kanaOffset = u'ァ' - u'ぁ';
static_assert(kanaOffset == 0x60);

// Katakana: ぁ–ん → ァ–ン, ゔ → ヴ, ゕ ゖ → ヵ ヶ, ゝ ゞ → ヽ ヾ.
inline constexpr KanaRange katakanaRanges[] = {
    {u'ぁ', u'ゖ'}, // U+3041–U+3096
    {u'ゝ', u'ゞ'}, // U+309D–U+309E
};
static_assert(std::size(katakanaRanges) == 2);

// Hiragana: ァ–ン → ぁ–ん, ヽ ヾ → ゝ ゞ. Not ヴ ヵ ヶ: ゔ ゕ ゖ are not in code page 932, and ヶ is
// mostly the counter of 3ヶ月. ヷ–ヺ and ー have no hiragana.
inline constexpr KanaRange hiraganaRanges[] = {
    {u'ァ', u'ン'}, // U+30A1–U+30F3
    {u'ヽ', u'ヾ'}, // U+30FD–U+30FE
};
static_assert(std::size(hiraganaRanges) == 2);

// Hiragana also turns half-width katakana letters into full-width hiragana, a following ﾞ or ﾟ
// included (ｶﾞ → が, ｯ → っ, ｰ → ー). Half-width punctuation ｡｢｣､･ and a lone ﾞ ﾟ stay.
inline constexpr KanaRange halfWidthLetterRange = {u'ｦ', u'ﾝ'}; // U+FF66–U+FF9D

} // namespace orvane::chars
