#pragma once
// Which half-width letters a following voiced or semi-voiced mark may join, for the conversions
// and the code that feeds them text piece by piece. Owns nothing.

namespace orvane::chars {

// The half-width letters (｡ to ﾝ) that a following ﾞ or ﾟ may join into one character: where text
// is converted piece by piece, one of them must wait for the character after it.
constexpr bool mayJoinVoicedMark(char16_t c) { return c >= u'｡' && c <= u'ﾝ'; }

} // namespace orvane::chars
