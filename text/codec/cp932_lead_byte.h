#pragma once
// The first bytes of code page 932's double-byte codes, on their own so that code counting
// positions in bytes needs none of the codec. Owns nothing.

namespace orvane::codec::cp932 {

// The first byte of a double-byte code. CR and LF are never part of one.
constexpr bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

} // namespace orvane::codec::cp932
