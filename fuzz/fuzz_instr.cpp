// InStr over any text, sought string and start, in both comparison modes, against a search that
// tries every position (text comparison: of both strings folded first). Input: a mode byte, two
// bytes of start, a byte of sought length in units, then the UTF-16 LE units of sought and text.

#include "fuzz/fuzz_check.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const auto mode = data[0] & 1 ? chars::CompareMode::Text : chars::CompareMode::Binary;
    const unsigned rawStart = data[1] | data[2] << 8;
    const QString units = fuzz::unitsOf(data + 4, size - 4);
    const QStringView sought = QStringView(units).first(std::min<qsizetype>(data[3], units.size()));
    const QStringView text = QStringView(units).sliced(sought.size());
    // Around the text's length, so that starts past its end come up too.
    const qsizetype start = qsizetype(rawStart % (text.size() + 3)) - 1;
    const chars::Match found = chars::InStr(start, text, sought, mode);
    const chars::Match expected = reference::findOneByOne(start, text, sought, mode);
    FUZZ_CHECK(found.position == expected.position && found.length == expected.length);
    return 0;
}
