#pragma once
// The character-class conversions. The four StrConv-style kinds keep their host codes; the last
// four, Wide and Narrow restricted to one block, are the batch converter's only.

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

inline constexpr ConversionKind allConversionKinds[]
    = {ConversionKind::Upper,       ConversionKind::Lower,     ConversionKind::Wide,
       ConversionKind::Narrow,      ConversionKind::Katakana,  ConversionKind::Hiragana,
       ConversionKind::NarrowAscii, ConversionKind::WideAscii, ConversionKind::NarrowKana,
       ConversionKind::WideKana};

} // namespace orvane
