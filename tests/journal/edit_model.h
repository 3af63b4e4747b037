#pragma once
// A document text that tells a journal of each change before making it, as the edit control
// does: raw inserts and deletions, conversions and replacements that replace only the part that
// changes, and the
// undo and redo of a conversion's step with its marks.

#include "journal/journal.h"
#include "text/chars/convert.h"
#include "text/chars/replacer.h"
#include "text/codec/utf8.h"

#include <QByteArray>
#include <QList>

namespace orvane::test {

class EditModel {
public:
    explicit EditModel(journal::Journal &journal, QByteArray text = {})
        : m_journal(journal)
        , m_text(std::move(text))
    {
    }

    const QByteArray &text() const { return m_text; }

    void insert(qint64 position, const QByteArray &bytes)
    {
        m_journal.inserting(position, bytes);
        m_text.insert(position, bytes);
    }
    void remove(qint64 position, qint64 length)
    {
        m_journal.deleting(position, length);
        m_text.remove(position, length);
    }
    // Converts [start, end), or the whole text when end is -1; returns the step's index.
    qsizetype convert(chars::ConversionKind kind, qint64 start = 0, qint64 end = -1)
    {
        return step([&](const QString &text) { return orvane::chars::convert(kind, text); },
                    [&](bool whole) { return m_journal.conversionBegins(kind, whole); }, start, end);
    }
    // Replaces every match in [start, end), or in the whole text when end is -1.
    qsizetype replace(const chars::ReplaceCommand &command, qint64 start = 0, qint64 end = -1)
    {
        return step(
            [&](const QString &text) {
                chars::ReplaceResult result = chars::Replacer(command).replaceAll(text);
                return result.count > 0 ? result.text : text;
            },
            [&](bool whole) { return m_journal.replacementBegins(command, whole); }, start, end);
    }
    void undo(qsizetype index) { replay(m_steps[index], false); }
    void redo(qsizetype index) { replay(m_steps[index], true); }

private:
    template <typename Command, typename Begin>
    qsizetype step(const Command &command, const Begin &begin, qint64 start, qint64 end)
    {
        const bool whole = end < 0;
        if (whole)
            end = m_text.size();
        const QByteArray before = m_text.mid(start, end - start);
        // Not QString::fromUtf8, which drops a U+FEFF at the start.
        QString decoded;
        codec::utf8::decode(before, decoded);
        QByteArray after = command(decoded).toUtf8();
        if (whole) {
            // As the control does: only the middle that differs is replaced, cut on characters.
            const auto isContinuation = [](char byte) { return (quint8(byte) & 0xC0) == 0x80; };
            const qint64 shorter = std::min(before.size(), after.size());
            qint64 prefix = 0;
            while (prefix < shorter && before[prefix] == after[prefix])
                ++prefix;
            while (prefix > 0 && prefix < shorter && isContinuation(after[prefix]))
                --prefix;
            qint64 suffix = 0;
            while (suffix < shorter - prefix
                   && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
                ++suffix;
            while (suffix > 0 && isContinuation(after[after.size() - suffix]))
                --suffix;
            start = prefix;
            end = before.size() - suffix;
            after = after.mid(prefix, after.size() - prefix - suffix);
        }
        const qint32 mark = begin(whole);
        const Step step {mark, start, m_text.mid(start, end - start), after};
        m_journal.deleting(start, end - start);
        m_journal.inserting(start, after);
        m_text.replace(start, end - start, after);
        m_journal.conversionEnds();
        m_steps.append(step);
        return m_steps.size() - 1;
    }

    struct Step {
        qint32 mark;
        qint64 position;
        QByteArray before;
        QByteArray after;
    };
    void replay(const Step &step, bool redo)
    {
        const QByteArray &present = redo ? step.before : step.after;
        const QByteArray &restored = redo ? step.after : step.before;
        m_journal.stepMark(step.mark, redo);
        m_journal.deleting(step.position, present.size());
        m_journal.inserting(step.position, restored);
        m_text.replace(step.position, present.size(), restored);
        m_journal.stepMark(step.mark, redo);
    }

    journal::Journal &m_journal;
    QByteArray m_text;
    QList<Step> m_steps;
};

} // namespace orvane::test
