#include "fake_edit_control.h"

#include <QTest>

#include <algorithm>

namespace orvane::test {

void FakeEditControl::replace(qsizetype start, qsizetype length, const QString &text)
{
    const QString &inserted = text;
    QString next = m_text;
    next.replace(start, length, inserted);
    m_selStart = start + inserted.size();
    m_selLength = 0;
    if (next == m_text)
        return;
    m_history.append(m_text);
    m_text = next;
    ++m_changes;
    if (m_onChange)
        m_onChange();
}

void FakeEditControl::setText(const QString &text)
{
    replace(0, m_text.size(), text);
    m_selStart = 0;
}

void FakeEditControl::loadUtf8(const QByteArray &utf8, qsizetype utf16Length)
{
    QString text;
    codec::utf8::decode(utf8, text);
    if (text.size() != utf16Length)
        QTest::qFail("loadUtf8 given a wrong length", __FILE__, __LINE__);
    loadText(text);
}

void FakeEditControl::loadText(const QString &text)
{
    const QString &next = text;
    m_history.clear();
    m_selStart = m_selLength = 0;
    if (next == m_text)
        return;
    m_text = next;
    ++m_changes;
    if (m_onChange)
        m_onChange();
}

void FakeEditControl::setSelText(const QString &text) { replace(m_selStart, m_selLength, text); }

void FakeEditControl::setSelStart(qsizetype start)
{
    m_selStart = qBound<qsizetype>(0, start, m_text.size());
    m_selLength = 0;
}

void FakeEditControl::setSelLength(qsizetype length)
{
    m_selLength = qBound<qsizetype>(0, length, m_text.size() - m_selStart);
}

void FakeEditControl::undo()
{
    if (m_history.isEmpty())
        return;
    m_text = m_history.takeLast();
    m_selStart = m_selLength = 0;
    ++m_changes;
    if (m_onChange)
        m_onChange();
}

qsizetype FakeEditControl::findBinary(qsizetype from, QStringView sought) const
{
    return m_text.indexOf(sought, std::max<qsizetype>(from, 0));
}

void FakeEditControl::select(qsizetype start, qsizetype length)
{
    m_selStart = start;
    m_selLength = length;
}

} // namespace orvane::test
