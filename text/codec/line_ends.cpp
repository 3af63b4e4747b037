#include "text/codec/line_ends.h"

#include <cstring>

namespace orvane::codepage {

namespace {

bool hasLoneLineEnd(QByteArrayView bytes)
{
    if (bytes.isEmpty()) // memchr must not see the null pointer of an empty array
        return false;
    const char *begin = bytes.data();
    const char *end = begin + bytes.size();
    for (const char *q = begin; (q = static_cast<const char *>(std::memchr(q, '\n', size_t(end - q)))); ++q) {
        if (q == begin || q[-1] != '\r')
            return true;
    }
    for (const char *q = begin; (q = static_cast<const char *>(std::memchr(q, '\r', size_t(end - q)))); ++q) {
        if (q + 1 == end || q[1] != '\n')
            return true;
    }
    return false;
}

bool hasLoneLineEnd(QStringView text)
{
    for (qsizetype i = 0; (i = text.indexOf(u'\n', i)) >= 0; ++i) {
        if (i == 0 || text[i - 1] != u'\r')
            return true;
    }
    for (qsizetype i = 0; (i = text.indexOf(u'\r', i)) >= 0; ++i) {
        if (i + 1 == text.size() || text[i + 1] != u'\n')
            return true;
    }
    return false;
}

template <typename String, typename Unit> String copiedWithCrLf(const Unit *p, qsizetype size)
{
    // At most one unit more per unit; the untouched rest of the allocation is never paged in.
    String out(size * 2, Qt::Uninitialized);
    auto *o = reinterpret_cast<Unit *>(out.data());
    auto *const outBegin = o;
    const Unit *end = p + size;
    while (p < end) {
        const Unit c = *p++;
        if (c == '\r' || c == '\n') {
            *o++ = '\r';
            *o++ = '\n';
            if (c == '\r' && p < end && *p == '\n')
                ++p;
        } else {
            *o++ = c;
        }
    }
    out.truncate(o - outBegin);
    return out;
}

} // namespace

QString withCrLf(const QString &text)
{
    if (!hasLoneLineEnd(text))
        return text;
    return copiedWithCrLf<QString>(reinterpret_cast<const char16_t *>(text.constData()), text.size());
}

QByteArray withCrLf(const QByteArray &bytes)
{
    if (!hasLoneLineEnd(bytes))
        return bytes;
    return copiedWithCrLf<QByteArray>(bytes.constData(), bytes.size());
}

} // namespace orvane::codepage
