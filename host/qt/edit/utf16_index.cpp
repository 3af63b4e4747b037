#include "utf16_index.h"

#include <algorithm>
#include <cstring>

namespace orvane {

namespace {

using Sci = QsciScintillaBase;

// Known positions are kept about this far apart, so a lookup scans at most this much.
constexpr qsizetype markSpacing = qsizetype(1) << 20;
constexpr qsizetype scanBlock = 4096;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The sum of the eight byte lanes of a word.
qsizetype laneSum(quint64 lanes)
{
    constexpr quint64 evenBytes = 0x00FF00FF00FF00FFULL;
    const quint64 pairs = (lanes & evenBytes) + ((lanes >> 8) & evenBytes);
    return qsizetype((pairs * 0x0001000100010001ULL) >> 48);
}

// UTF-16 units of the characters whose lead bytes lie in the range: one per lead byte, two for
// a four-byte lead (a character outside the BMP).
qsizetype unitsIn(const unsigned char *bytes, qsizetype length)
{
    // Eight bytes at a time: one lane per byte counts continuation bytes and four-byte leads,
    // for at most 255 words before the lanes are summed.
    constexpr quint64 highBits = 0x8080808080808080ULL;
    qsizetype units = 0;
    qsizetype i = 0;
    while (i + 8 <= length) {
        quint64 continuations = 0;
        quint64 fourByteLeads = 0;
        const qsizetype words = std::min<qsizetype>((length - i) / 8, 255);
        for (qsizetype w = 0; w < words; ++w, i += 8) {
            quint64 word;
            std::memcpy(&word, bytes + i, sizeof word);
            continuations += ((word & ~(word << 1) & highBits) >> 7);
            fourByteLeads += ((word & (word << 1) & (word << 2) & (word << 3) & highBits) >> 7);
        }
        units += 8 * words - laneSum(continuations) + laneSum(fourByteLeads);
    }
    for (; i < length; ++i)
        units += (isContinuation(bytes[i]) ? 0 : 1) + (bytes[i] >= 0xF0 ? 1 : 0);
    return units;
}

} // namespace

Utf16Index::Utf16Index(SciCall call)
    : m_call(call)
{
    reset();
}

void Utf16Index::reset()
{
    m_marks.assign(1, Mark {0, 0});
    m_pendingByte = -1;
    m_pendingLength = 0;
}

void Utf16Index::noteLength(qsizetype units)
{
    settle();
    addMark(Mark {documentLength(), units});
}

qsizetype Utf16Index::documentLength() const { return m_call(Sci::SCI_GETLENGTH); }

void Utf16Index::beforeInsert(qsizetype byte, qsizetype length)
{
    settle();
    // The inserted text is not in the buffer yet: count it at the next lookup or edit.
    m_pendingByte = byte;
    m_pendingLength = length;
}

void Utf16Index::beforeDelete(qsizetype byte, qsizetype length)
{
    settle();
    const qsizetype end = byte + length;
    const auto firstAfter = std::upper_bound(m_marks.begin(), m_marks.end(), byte,
                                             [](qsizetype b, const Mark &m) { return b < m.byte; });
    const auto firstKept = std::lower_bound(firstAfter, m_marks.end(), end,
                                            [](const Mark &m, qsizetype b) { return m.byte < b; });
    if (firstKept != m_marks.end()) {
        const qsizetype units = countUnits(byte, end);
        for (auto it = firstKept; it != m_marks.end(); ++it) {
            it->byte -= length;
            it->unit -= units;
        }
    }
    auto erased = m_marks.erase(firstAfter, firstKept);
    // A mark that was at the end of the deleted range now sits on the mark before it.
    if (erased != m_marks.end() && erased != m_marks.begin() && std::prev(erased)->byte == erased->byte)
        m_marks.erase(erased);
}

void Utf16Index::settle() const
{
    if (m_pendingByte < 0)
        return;
    const qsizetype byte = m_pendingByte;
    const qsizetype length = m_pendingLength;
    m_pendingByte = -1;
    const auto firstAfter = std::upper_bound(m_marks.begin(), m_marks.end(), byte,
                                             [](qsizetype b, const Mark &m) { return b < m.byte; });
    if (firstAfter == m_marks.end())
        return;
    const qsizetype units = countUnits(byte, byte + length);
    for (auto it = firstAfter; it != m_marks.end(); ++it) {
        it->byte += length;
        it->unit += units;
    }
}

qsizetype Utf16Index::countUnits(qsizetype from, qsizetype to) const
{
    // Read either side of the gap separately so that reading never moves it.
    const qsizetype gap = m_call(Sci::SCI_GETGAPPOSITION);
    qsizetype units = 0;
    while (from < to) {
        const qsizetype end = (from < gap && gap < to) ? gap : to;
        const auto *bytes = reinterpret_cast<const unsigned char *>(
            m_call.pointer(Sci::SCI_GETRANGEPOINTER, uintptr_t(from), intptr_t(end - from)));
        units += unitsIn(bytes, end - from);
        from = end;
    }
    return units;
}

void Utf16Index::addMark(Mark mark) const
{
    const auto at = std::lower_bound(m_marks.begin(), m_marks.end(), mark.byte,
                                     [](const Mark &m, qsizetype b) { return m.byte < b; });
    if (at != m_marks.end() && at->byte == mark.byte)
        return;
    m_marks.insert(at, mark);
}

qsizetype Utf16Index::toUtf16(qsizetype byte) const
{
    const qsizetype total = documentLength();
    byte = std::clamp<qsizetype>(byte, 0, total);
    settle();
    auto next = std::upper_bound(m_marks.begin(), m_marks.end(), byte,
                                 [](qsizetype b, const Mark &m) { return b < m.byte; });
    Mark mark = *std::prev(next);
    if (next != m_marks.end() && next->byte - byte < byte - mark.byte)
        return next->unit - countUnits(byte, next->byte);
    while (byte - mark.byte > markSpacing) {
        qsizetype step = mark.byte + markSpacing;
        while (step < byte
               && isContinuation(static_cast<unsigned char>(m_call(Sci::SCI_GETCHARAT, uintptr_t(step)))))
            ++step;
        mark = Mark {step, mark.unit + countUnits(mark.byte, step)};
        addMark(mark);
    }
    return mark.unit + countUnits(mark.byte, byte);
}

qsizetype Utf16Index::toByte(qsizetype unit) const
{
    unit = std::max<qsizetype>(unit, 0);
    settle();
    const auto next = std::upper_bound(m_marks.begin(), m_marks.end(), unit,
                                       [](qsizetype u, const Mark &m) { return u < m.unit; });
    return seek(*std::prev(next), unit);
}

qsizetype Utf16Index::seek(Mark from, qsizetype unit) const
{
    const qsizetype total = documentLength();
    const qsizetype gap = m_call(Sci::SCI_GETGAPPOSITION);
    qsizetype byte = from.byte;
    qsizetype units = from.unit;
    qsizetype lastMark = from.byte;
    // Skip whole blocks that end before the sought unit, then walk the characters.
    while (byte < total) {
        qsizetype end = std::min(byte + scanBlock, total);
        if (byte < gap && gap < end)
            end = gap;
        const auto *bytes = reinterpret_cast<const unsigned char *>(
            m_call.pointer(Sci::SCI_GETRANGEPOINTER, uintptr_t(byte), intptr_t(end - byte)));
        const qsizetype blockUnits = unitsIn(bytes, end - byte);
        if (units + blockUnits >= unit)
            break;
        units += blockUnits;
        byte = end;
        if (byte - lastMark >= markSpacing && byte < total
            && !isContinuation(static_cast<unsigned char>(m_call(Sci::SCI_GETCHARAT, uintptr_t(byte))))) {
            addMark(Mark {byte, units});
            lastMark = byte;
        }
    }
    for (; byte < total; ++byte) {
        const auto lead = static_cast<unsigned char>(m_call(Sci::SCI_GETCHARAT, uintptr_t(byte)));
        if (isContinuation(lead))
            continue;
        const qsizetype width = lead >= 0xF0 ? 2 : 1;
        if (units + width > unit)
            return byte;
        units += width;
    }
    return total;
}

qsizetype Utf16Index::length() const { return toUtf16(documentLength()); }

} // namespace orvane
