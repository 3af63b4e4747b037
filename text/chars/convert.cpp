#include "text/chars/convert.h"

#include "text/chars/char_conv.h"

namespace orvane::chars {

QString convert(ConversionKind kind, const QString &text)
{
    switch (kind) {
    case ConversionKind::Upper:
        return chars::toUpper(text);
    case ConversionKind::Lower:
        return chars::toLower(text);
    case ConversionKind::Wide:
        return chars::toWide(text);
    case ConversionKind::Narrow:
        return chars::toNarrow(text);
    case ConversionKind::Katakana:
        return chars::toKatakana(text);
    case ConversionKind::Hiragana:
        return chars::toHiragana(text);
    case ConversionKind::NarrowAscii:
        return chars::toNarrowAscii(text);
    case ConversionKind::WideAscii:
        return chars::toWideAscii(text);
    case ConversionKind::NarrowKana:
        return chars::toNarrowKana(text);
    case ConversionKind::WideKana:
        return chars::toWideKana(text);
    }
    // An out-of-range kind converts nothing rather than guessing.
    return text;
}

} // namespace orvane::chars
