#include "fuzz/fuzz_check.h"

namespace orvane::fuzz {

QString unitsOf(const uint8_t *data, size_t size)
{
    QString s(qsizetype(size / 2), Qt::Uninitialized);
    for (size_t k = 0; k + 1 < size; k += 2)
        s[qsizetype(k / 2)] = QChar(char16_t(data[k] | data[k + 1] << 8));
    return s;
}

} // namespace orvane::fuzz
