#pragma once
// The character-class conversions. The first six keep the host's StrConv codes; the last four,
// Wide and Narrow restricted to one block, only orvane-conv offers.

#include <QStringView>

namespace orvane::chars {

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

// Each kind's name where the user writes it (orvane-conv's arguments).
struct ConversionKindName {
    QStringView name;
    ConversionKind kind;
};

inline constexpr ConversionKindName conversionKindNames[] = {
    {u"upper", ConversionKind::Upper},
    {u"lower", ConversionKind::Lower},
    {u"wide", ConversionKind::Wide},
    {u"narrow", ConversionKind::Narrow},
    {u"katakana", ConversionKind::Katakana},
    {u"hiragana", ConversionKind::Hiragana},
    {u"narrow-ascii", ConversionKind::NarrowAscii},
    {u"wide-ascii", ConversionKind::WideAscii},
    {u"narrow-kana", ConversionKind::NarrowKana},
    {u"wide-kana", ConversionKind::WideKana},
};

// Every kind, the host's six first: the fuzz targets' seed inputs pick kinds by their place here.
inline constexpr ConversionKind allConversionKinds[]
    = {ConversionKind::Upper,     ConversionKind::Lower,       ConversionKind::Wide,
       ConversionKind::Narrow,    ConversionKind::Katakana,    ConversionKind::Hiragana,
       ConversionKind::WideAscii, ConversionKind::NarrowAscii, ConversionKind::WideKana,
       ConversionKind::NarrowKana};

} // namespace orvane::chars
