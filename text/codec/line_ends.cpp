#include "text/codec/line_ends.h"

#include <algorithm>
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

// The next CR or LF from a place on, each found by the library's vector search and remembered
// until passed, so that a text of many line ends of one kind is searched once.
template <typename Unit> class Breaks {
public:
    Breaks(const Unit *p, qsizetype size)
        : m_p(p)
        , m_size(size)
    {
    }
    qsizetype from(qsizetype i)
    {
        if (m_cr < i)
            m_cr = find(i, Unit('\r'));
        if (m_lf < i)
            m_lf = find(i, Unit('\n'));
        return std::min(m_cr, m_lf);
    }

private:
    qsizetype find(qsizetype i, Unit c) const
    {
        if (i >= m_size) // an empty text may have no storage at all
            return m_size;
        if constexpr (sizeof(Unit) == 1) {
            const void *at = std::memchr(m_p + i, c, size_t(m_size - i));
            return at ? static_cast<const Unit *>(at) - m_p : m_size;
        } else {
            const qsizetype at = QStringView(m_p + i, m_size - i).indexOf(QChar(c));
            return at < 0 ? m_size : i + at;
        }
    }

    const Unit *m_p;
    qsizetype m_size;
    qsizetype m_cr = -1;
    qsizetype m_lf = -1;
};

void appendUnits(QString &out, const char16_t *p, qsizetype size)
{
    out.append(reinterpret_cast<const QChar *>(p), size);
}
void appendUnits(QByteArray &out, const char *p, qsizetype size) { out.append(p, size); }

template <typename Unit, typename String>
bool rewriteLineEnds(const Unit *p, qsizetype size, LineEnd lineEnd, String &out)
{
    const QStringView wanted = lineEndText(lineEnd);
    Breaks<Unit> breaks(p, size);
    auto lengthAt
        = [&](qsizetype i) { return p[i] == Unit('\r') && i + 1 < size && p[i + 1] == Unit('\n') ? 2 : 1; };
    // Nothing to change when every line end is already the wanted one.
    qsizetype first = breaks.from(0);
    for (; first < size; first = breaks.from(first)) {
        const qsizetype length = lengthAt(first);
        if (length != wanted.size() || char16_t(p[first]) != wanted.front().unicode())
            break;
        first += length;
    }
    if (first == size)
        return false;
    out.clear();
    out.reserve(size + (lineEnd == LineEnd::CrLf ? size / 8 : 0));
    Unit ending[2] {};
    for (qsizetype k = 0; k < wanted.size(); ++k)
        ending[k] = Unit(wanted[k].unicode());
    appendUnits(out, p, first);
    for (qsizetype i = first; i < size;) {
        appendUnits(out, ending, wanted.size());
        i += lengthAt(i);
        const qsizetype next = breaks.from(i);
        appendUnits(out, p + i, next - i);
        i = next;
    }
    return true;
}

} // namespace

LineEnds takeLastLineEnd(QByteArray &bytes) { return take(bytes, bytes.constData()); }

LineEnds takeLastLineEnd(QString &text)
{
    return take(text, reinterpret_cast<const char16_t *>(text.constData()));
}

QString withLineEnds(const QString &text, LineEnd lineEnd)
{
    QString out;
    return withLineEnds(QStringView(text), lineEnd, out) ? out : text;
}

bool withLineEnds(QStringView text, LineEnd lineEnd, QString &out)
{
    return rewriteLineEnds(reinterpret_cast<const char16_t *>(text.utf16()), text.size(), lineEnd, out);
}

bool withLineEnds(QByteArrayView bytes, LineEnd lineEnd, QByteArray &out)
{
    return rewriteLineEnds(bytes.data(), bytes.size(), lineEnd, out);
}

} // namespace orvane::codec
