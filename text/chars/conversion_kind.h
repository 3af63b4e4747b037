#pragma once
// The character-class conversions. The first six keep the host's StrConv codes; the last four,
// Wide and Narrow restricted to one block, only orvane-conv offers.

namespace orvane {

enum class ConversionKind : int {
    Upper = 1,
    Lower = 2,
    Wide = 4,
    Narrow = 8,
    Katakana = 16,
    Hiragana = 32,
    NarrowAscii = 64,
    WideAscii = 128,
    NarrowKana = 256,
    WideKana = 512,
};

} // namespace orvane
