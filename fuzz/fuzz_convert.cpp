// Each conversion kind over any UTF-16 text: the fast block paths give what the one-unit-at-a-time
// reference gives, and storable text stays storable. The first byte picks the kind, and whether
// the rest is UTF-16 LE units or code page 932 bytes (decoded up to the first bad sequence, so the
// text is storable: random units almost never are).

#include "fuzz/fuzz_check.h"
#include "text/chars/convert.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const chars::ConversionKind kind
        = chars::allConversionKinds[(data[0] & 0x7F) % std::size(chars::allConversionKinds)];
    QString text;
    if (data[0] & 0x80)
        codec::cp932::decode(QByteArrayView(data + 1, qsizetype(size - 1)), text);
    else
        text = fuzz::unitsOf(data + 1, size - 1);
    const QString converted = chars::convert(kind, text);
    FUZZ_CHECK(converted == reference::convertOneByOne(kind, text));
    FUZZ_CHECK(!reference::storable(text) || reference::storable(converted));
    return 0;
}
