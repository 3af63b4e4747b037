#pragma once
// The six character-class conversions. The four StrConv-style kinds keep their host codes.

namespace orvane {

enum class ConversionKind : int {
    Upper = 1,
    Lower = 2,
    Wide = 4,
    Narrow = 8,
    Katakana = 16,
    Hiragana = 32,
};

} // namespace orvane
