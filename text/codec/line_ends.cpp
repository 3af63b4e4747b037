#include "text/codec/line_ends.h"

#include <cstring>

namespace orvane::codec {

namespace {

// Where the first CR or LF is, or size; searched with the library's vector search, since a file
// without line ends is searched to its end.
qsizetype firstBreak(const char *p, qsizetype size)
{
    if (size == 0)
        return 0;
    const void *lf = std::memchr(p, '\n', size_t(size));
    const qsizetype lfAt = lf ? static_cast<const char *>(lf) - p : size;
    const void *cr = lfAt == 0 ? nullptr : std::memchr(p, '\r', size_t(lfAt));
    return cr ? static_cast<const char *>(cr) - p : lfAt;
}

qsizetype firstBreak(const char16_t *p, qsizetype size)
{
    const QStringView text(p, size);
    const qsizetype lf = text.indexOf(u'\n');
    const qsizetype lfAt = lf < 0 ? size : lf;
    const qsizetype cr = text.first(lfAt).indexOf(u'\r');
    return cr < 0 ? lfAt : cr;
}

template <typename Unit> std::optional<LineEnd> firstLineEnd(const Unit *p, qsizetype size)
{
    const qsizetype i = firstBreak(p, size);
    if (i == size)
        return std::nullopt;
    if (p[i] == Unit('\n'))
        return LineEnd::Lf;
    return i + 1 < size && p[i + 1] == Unit('\n') ? LineEnd::CrLf : LineEnd::Cr;
}

template <typename Unit> std::optional<LineEnd> lastLineEnd(const Unit *p, qsizetype size)
{
    if (size == 0)
        return std::nullopt;
    if (p[size - 1] == Unit('\r'))
        return LineEnd::Cr;
    if (p[size - 1] != Unit('\n'))
        return std::nullopt;
    return size > 1 && p[size - 2] == Unit('\r') ? LineEnd::CrLf : LineEnd::Lf;
}

template <typename String, typename Unit> LineEnds take(String &s, const Unit *p)
{
    LineEnds ends;
    ends.last = lastLineEnd(p, s.size());
    ends.document = firstLineEnd(p, s.size()).value_or(LineEnd::CrLf);
    if (ends.last)
        s.chop(*ends.last == LineEnd::CrLf ? 2 : 1);
    return ends;
}

} // namespace

LineEnds takeLastLineEnd(QByteArray &bytes) { return take(bytes, bytes.constData()); }

LineEnds takeLastLineEnd(QString &text)
{
    return take(text, reinterpret_cast<const char16_t *>(text.constData()));
}

QString withLineEnds(const QString &text, LineEnd lineEnd)
{
    const QStringView wanted = lineEndText(lineEnd);
    const qsizetype size = text.size();
    const QChar *p = text.constData();
    // Nothing to change when every line end is already the wanted one.
    qsizetype first = 0;
    for (; first < size; ++first) {
        const QChar c = p[first];
        if (c != u'\r' && c != u'\n')
            continue;
        const qsizetype length = c == u'\r' && first + 1 < size && p[first + 1] == u'\n' ? 2 : 1;
        if (QStringView(p + first, length) != wanted)
            break;
        first += length - 1;
    }
    if (first == size)
        return text;
    QString out;
    out.reserve(size + (lineEnd == LineEnd::CrLf ? size / 8 : 0));
    out.append(p, first);
    for (qsizetype i = first; i < size; ++i) {
        const QChar c = p[i];
        if (c == u'\r' || c == u'\n') {
            out.append(wanted);
            if (c == u'\r' && i + 1 < size && p[i + 1] == u'\n')
                ++i;
        } else {
            out.append(c);
        }
    }
    return out;
}

} // namespace orvane::codec
