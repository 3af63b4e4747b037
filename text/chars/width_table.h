#pragma once
// The character tables of the width conversions (Wide, Narrow): one row per mapping, narrow form
// first. Narrow is the inverse of Wide restricted to what code page 932 has a half-width form of.

#include <iterator>

namespace orvane::chars {

struct WidthPair {
    char16_t narrow;
    char16_t wide;
};

// Space and the printable ASCII block map to the ideographic space and the full-width block
// (so " ' \ ~ become ＂ ＇ ＼ ～).
inline constexpr char16_t narrowSpace = u' ';
inline constexpr char16_t wideSpace = u'　'; // U+3000
inline constexpr char16_t asciiFirst = u'!'; // U+0021
inline constexpr char16_t asciiLast = u'~'; // U+007E
inline constexpr char16_t fullWidthAsciiFirst = u'！'; // U+FF01
inline constexpr char16_t fullWidthAsciiLast = u'～'; // U+FF5E
static_assert(fullWidthAsciiLast - fullWidthAsciiFirst == asciiLast - asciiFirst);

// Half-width katakana and punctuation, U+FF61–U+FF9F, in code order.
inline constexpr char16_t halfWidthKanaFirst = u'｡'; // U+FF61
inline constexpr char16_t halfWidthKanaLast = u'ﾟ'; // U+FF9F
inline constexpr WidthPair halfWidthKanaRows[] = {
    {u'｡', u'。'}, // U+FF61
    {u'｢', u'「'}, // U+FF62
    {u'｣', u'」'}, // U+FF63
    {u'､', u'、'}, // U+FF64
    {u'･', u'・'}, // U+FF65
    {u'ｦ', u'ヲ'}, // U+FF66
    {u'ｧ', u'ァ'}, // U+FF67
    {u'ｨ', u'ィ'}, // U+FF68
    {u'ｩ', u'ゥ'}, // U+FF69
    {u'ｪ', u'ェ'}, // U+FF6A
    {u'ｫ', u'ォ'}, // U+FF6B
    {u'ｬ', u'ャ'}, // U+FF6C
    {u'ｭ', u'ュ'}, // U+FF6D
    {u'ｮ', u'ョ'}, // U+FF6E
    {u'ｯ', u'ッ'}, // U+FF6F
    {u'ｰ', u'ー'}, // U+FF70
    {u'ｱ', u'ア'}, // U+FF71
    {u'ｲ', u'イ'}, // U+FF72
    {u'ｳ', u'ウ'}, // U+FF73
    {u'ｴ', u'エ'}, // U+FF74
    {u'ｵ', u'オ'}, // U+FF75
    {u'ｶ', u'カ'}, // U+FF76
    {u'ｷ', u'キ'}, // U+FF77
    {u'ｸ', u'ク'}, // U+FF78
    {u'ｹ', u'ケ'}, // U+FF79
    {u'ｺ', u'コ'}, // U+FF7A
    {u'ｻ', u'サ'}, // U+FF7B
    {u'ｼ', u'シ'}, // U+FF7C
    {u'ｽ', u'ス'}, // U+FF7D
    {u'ｾ', u'セ'}, // U+FF7E
    {u'ｿ', u'ソ'}, // U+FF7F
    {u'ﾀ', u'タ'}, // U+FF80
    {u'ﾁ', u'チ'}, // U+FF81
    {u'ﾂ', u'ツ'}, // U+FF82
    {u'ﾃ', u'テ'}, // U+FF83
    {u'ﾄ', u'ト'}, // U+FF84
    {u'ﾅ', u'ナ'}, // U+FF85
    {u'ﾆ', u'ニ'}, // U+FF86
    {u'ﾇ', u'ヌ'}, // U+FF87
    {u'ﾈ', u'ネ'}, // U+FF88
    {u'ﾉ', u'ノ'}, // U+FF89
    {u'ﾊ', u'ハ'}, // U+FF8A
    {u'ﾋ', u'ヒ'}, // U+FF8B
    {u'ﾌ', u'フ'}, // U+FF8C
    {u'ﾍ', u'ヘ'}, // U+FF8D
    {u'ﾎ', u'ホ'}, // U+FF8E
    {u'ﾏ', u'マ'}, // U+FF8F
    {u'ﾐ', u'ミ'}, // U+FF90
    {u'ﾑ', u'ム'}, // U+FF91
    {u'ﾒ', u'メ'}, // U+FF92
    {u'ﾓ', u'モ'}, // U+FF93
    {u'ﾔ', u'ヤ'}, // U+FF94
    {u'ﾕ', u'ユ'}, // U+FF95
    {u'ﾖ', u'ヨ'}, // U+FF96
    {u'ﾗ', u'ラ'}, // U+FF97
    {u'ﾘ', u'リ'}, // U+FF98
    {u'ﾙ', u'ル'}, // U+FF99
    {u'ﾚ', u'レ'}, // U+FF9A
    {u'ﾛ', u'ロ'}, // U+FF9B
    {u'ﾜ', u'ワ'}, // U+FF9C
    {u'ﾝ', u'ン'}, // U+FF9D
    {u'ﾞ', u'゛'}, // U+FF9E
    {u'ﾟ', u'゜'}, // U+FF9F
};
static_assert(std::size(halfWidthKanaRows) == halfWidthKanaLast - halfWidthKanaFirst + 1);

inline constexpr char16_t halfWidthVoicedMark = u'ﾞ'; // U+FF9E
inline constexpr char16_t halfWidthSemiVoicedMark = u'ﾟ'; // U+FF9F

// A half-width letter followed by ﾞ that code page 932 has as one voiced character (ｶﾞ → ガ).
// ﾜﾞ and ｦﾞ are missing on purpose: ヷ and ヺ are not in code page 932, so they become ワ゛ and ヲ゛.
inline constexpr WidthPair voicedRows[] = {
    {u'ｳ', u'ヴ'}, // U+FF73
    {u'ｶ', u'ガ'}, // U+FF76
    {u'ｷ', u'ギ'}, // U+FF77
    {u'ｸ', u'グ'}, // U+FF78
    {u'ｹ', u'ゲ'}, // U+FF79
    {u'ｺ', u'ゴ'}, // U+FF7A
    {u'ｻ', u'ザ'}, // U+FF7B
    {u'ｼ', u'ジ'}, // U+FF7C
    {u'ｽ', u'ズ'}, // U+FF7D
    {u'ｾ', u'ゼ'}, // U+FF7E
    {u'ｿ', u'ゾ'}, // U+FF7F
    {u'ﾀ', u'ダ'}, // U+FF80
    {u'ﾁ', u'ヂ'}, // U+FF81
    {u'ﾂ', u'ヅ'}, // U+FF82
    {u'ﾃ', u'デ'}, // U+FF83
    {u'ﾄ', u'ド'}, // U+FF84
    {u'ﾊ', u'バ'}, // U+FF8A
    {u'ﾋ', u'ビ'}, // U+FF8B
    {u'ﾌ', u'ブ'}, // U+FF8C
    {u'ﾍ', u'ベ'}, // U+FF8D
    {u'ﾎ', u'ボ'}, // U+FF8E
};
static_assert(std::size(voicedRows) == 21);

// A half-width letter followed by ﾟ (ﾊﾟ → パ).
inline constexpr WidthPair semiVoicedRows[] = {
    {u'ﾊ', u'パ'}, // U+FF8A
    {u'ﾋ', u'ピ'}, // U+FF8B
    {u'ﾌ', u'プ'}, // U+FF8C
    {u'ﾍ', u'ペ'}, // U+FF8D
    {u'ﾎ', u'ポ'}, // U+FF8E
};
static_assert(std::size(semiVoicedRows) == 5);

// The one voiced character that a half-width letter and a following ﾞ or ﾟ stand for, or 0.
constexpr char16_t voicedForm(char16_t letter, char16_t mark)
{
    if (mark == halfWidthVoicedMark) {
        for (const WidthPair &row : voicedRows) {
            if (row.narrow == letter)
                return row.wide;
        }
    } else if (mark == halfWidthSemiVoicedMark) {
        for (const WidthPair &row : semiVoicedRows) {
            if (row.narrow == letter)
                return row.wide;
        }
    }
    return 0;
}
static_assert(voicedForm(u'ｶ', u'ﾞ') == u'ガ' && voicedForm(u'ﾜ', u'ﾞ') == 0
              && voicedForm(u'ﾊ', u'ﾟ') == u'パ');

// Narrow only: full-width letters outside code page 932 whose half-width spelling is in it.
struct NarrowPair {
    char16_t wide;
    char16_t narrow[2];
};
inline constexpr NarrowPair narrowOnlyRows[] = {
    {u'ヷ', {u'ﾜ', u'ﾞ'}}, // U+30F7
    {u'ヺ', {u'ｦ', u'ﾞ'}}, // U+30FA
};
static_assert(std::size(narrowOnlyRows) == 2);

// Wide only: Latin-1 and currency signs with a full-width form. Narrow leaves ￠ … ￦ alone,
// since code page 932 does not store ¢ £ ¬ ¯ ¦ ¥ ₩ as such.
inline constexpr WidthPair wideSymbolRows[] = {
    {u'¢', u'￠'}, // U+00A2
    {u'£', u'￡'}, // U+00A3
    {u'¥', u'￥'}, // U+00A5
    {u'¦', u'￤'}, // U+00A6
    {u'¬', u'￢'}, // U+00AC
    {u'¯', u'￣'}, // U+00AF
    {u'₩', u'￦'}, // U+20A9
};
static_assert(std::size(wideSymbolRows) == 7);

} // namespace orvane::chars
