#include "text/chars/convert.h"

#include "text/chars/char_conv.h"

namespace orvane {

QString convert(ConversionKind kind, const QString &text)
{
    switch (kind) {
    case ConversionKind::Upper:
        return text::toUpper(text);
    case ConversionKind::Lower:
        return text::toLower(text);
    case ConversionKind::Wide:
        return text::toWide(text);
    case ConversionKind::Narrow:
        return text::toNarrow(text);
    case ConversionKind::Katakana:
        return text::toKatakana(text);
    case ConversionKind::Hiragana:
        return text::toHiragana(text);
    case ConversionKind::NarrowAscii:
        return text::toNarrowAscii(text);
    case ConversionKind::WideAscii:
        return text::toWideAscii(text);
    case ConversionKind::NarrowKana:
        return text::toNarrowKana(text);
    case ConversionKind::WideKana:
        return text::toWideKana(text);
    }
    // An out-of-range kind converts nothing rather than guessing.
    return text;
}

} // namespace orvane
