#include "journal_replay.h"

#include "journal_format.h"

#include "text/chars/convert.h"
#include "text/chars/replacer.h"
#include "text/codec/utf8.h"

#include <cstring>
#include <functional>

namespace orvane::journal {

namespace {

// What undo and redo of a conversion's step put back: the changed part before and after.
struct ConversionStep {
    qint64 position = 0;
    QByteArray before;
    QByteArray after;
};

bool isCharStart(const QByteArray &text, qint64 position)
{
    return position == text.size() || (quint8(text[position]) & 0xC0) != 0x80;
}

bool sameBytes(const QByteArray &text, qint64 position, const QByteArray &expected)
{
    return position >= 0 && position <= text.size() && expected.size() <= text.size() - position
        && std::memcmp(text.constData() + position, expected.constData(), size_t(expected.size())) == 0;
}

// Where a conversion or replacement changed the text, as recorded.
struct StepChange {
    bool wholeText = true;
    qint64 position = 0;
    qint64 removed = 0;
    qint64 inserted = 0;
};

// What a step's command makes of the text (or selection) given as UTF-8.
using StepCommand = std::function<QString(const QString &)>;

std::optional<QByteArray> converted(const StepCommand &command, QByteArrayView bytes)
{
    QString text;
    if (!codec::utf8::decode(bytes, text))
        return std::nullopt;
    return command(text).toUtf8();
}

StepCommand conversionCommand(chars::ConversionKind kind)
{
    return [kind](const QString &text) { return chars::convert(kind, text); };
}

StepCommand replacementCommand(const chars::ReplaceCommand &command)
{
    return [command](const QString &text) {
        chars::ReplaceResult result = chars::Replacer(command).replaceAll(text);
        return result.count > 0 ? std::move(result.text) : text;
    };
}

class Replayer {
public:
    explicit Replayer(QByteArray base)
        : m_text(std::move(base))
    {
    }

    bool apply(const Insert &r)
    {
        if (r.position > m_text.size() || !isCharStart(m_text, r.position) || !codec::utf8::validate(r.bytes))
            return false;
        m_text.insert(r.position, r.bytes);
        return true;
    }
    bool apply(const Delete &r)
    {
        if (r.position > m_text.size() || r.length > m_text.size() - r.position
            || !isCharStart(m_text, r.position) || !isCharStart(m_text, r.position + r.length))
            return false;
        m_text.remove(r.position, r.length);
        return true;
    }
    bool apply(const Conversion &r)
    {
        return applyStep({r.wholeText, r.position, r.removed, r.inserted}, conversionCommand(r.kind));
    }
    bool apply(const Replacement &r)
    {
        return applyStep({r.wholeText, r.position, r.removed, r.inserted}, replacementCommand(r.command));
    }
    // A conversion or replacement: the command applied to the text must give the recorded change.
    bool applyStep(const StepChange &r, const StepCommand &command)
    {
        const qint64 size = m_text.size();
        if (r.position > size || r.removed > size - r.position || !isCharStart(m_text, r.position)
            || !isCharStart(m_text, r.position + r.removed))
            return false;
        ConversionStep step {r.position, m_text.mid(r.position, r.removed), {}};
        if (r.wholeText) {
            std::optional<QByteArray> next = converted(command, m_text);
            // The control replaced only the part that changed; the rest must be as it was.
            if (!next || next->size() != size - r.removed + r.inserted
                || std::memcmp(next->constData(), m_text.constData(), size_t(r.position)) != 0
                || std::memcmp(next->constData() + r.position + r.inserted,
                               m_text.constData() + r.position + r.removed,
                               size_t(size - r.position - r.removed))
                    != 0)
                return false;
            step.after = next->mid(r.position, r.inserted);
            m_text = std::move(*next);
        } else {
            std::optional<QByteArray> next = converted(command, step.before);
            if (!next || next->size() != r.inserted)
                return false;
            step.after = std::move(*next);
            m_text.replace(r.position, r.removed, step.after);
        }
        m_steps.append(std::move(step));
        return true;
    }
    bool apply(const StepUndo &r)
    {
        if (r.conversion < 0 || r.conversion >= m_steps.size())
            return false;
        const ConversionStep &step = m_steps[r.conversion];
        const QByteArray &present = r.redo ? step.before : step.after;
        const QByteArray &restored = r.redo ? step.after : step.before;
        if (!sameBytes(m_text, step.position, present))
            return false;
        m_text.replace(step.position, present.size(), restored);
        return true;
    }
    bool apply(const FormChange &r)
    {
        m_form = r.form;
        return true;
    }
    bool apply(const OriginHash &) { return true; }
    bool apply(const Rebase &r)
    {
        if (!codec::utf8::validate(r.text))
            return false;
        m_text = r.text;
        // Conversions are numbered from the rebase on.
        m_steps.clear();
        return true;
    }
    // Only the first record is an origin.
    bool apply(const Origin &) { return false; }

    Replayed result(qsizetype applied, qsizetype changes, bool complete)
    {
        Replayed replayed;
        replayed.text = std::move(m_text);
        replayed.form = m_form;
        replayed.conversions = qint32(m_steps.size());
        replayed.applied = applied;
        replayed.changes = changes;
        replayed.complete = complete;
        return replayed;
    }

    DocumentForm m_form;

private:
    QByteArray m_text;
    QList<ConversionStep> m_steps;
};

} // namespace

namespace {

// Applies records from next() until it gives none or one does not fit.
template <typename Next> Replayed replayFrom(const Origin &origin, QByteArray base, Next next)
{
    if (origin.baseLength != base.size() || !codec::utf8::validate(base))
        return {};
    Replayer replayer(std::move(base));
    replayer.m_form = origin.form;
    qsizetype applied = 1;
    qsizetype changes = 0;
    Record record;
    bool more = false;
    while ((more = next(record))) {
        if (!std::visit([&](const auto &r) { return replayer.apply(r); }, record))
            break;
        ++applied;
        if (isChange(record))
            ++changes;
    }
    return replayer.result(applied, changes, !more);
}

} // namespace

Replayed replay(const QList<Record> &records, QByteArray base)
{
    if (records.isEmpty() || !std::holds_alternative<Origin>(records.first()))
        return {};
    qsizetype at = 1;
    return replayFrom(std::get<Origin>(records.first()), std::move(base), [&](Record &record) {
        if (at == records.size())
            return false;
        record = records[at++];
        return true;
    });
}

Replayed replay(JournalReader &reader, QByteArray base)
{
    Record first;
    if (!reader.next(first) || !std::holds_alternative<Origin>(first))
        return {};
    qint64 lastApplied = reader.validLength();
    qint64 pending = lastApplied;
    Replayed replayed = replayFrom(std::get<Origin>(first), std::move(base), [&](Record &record) {
        lastApplied = pending;
        if (!reader.next(record))
            return false;
        pending = reader.validLength();
        return true;
    });
    // A record that did not fit is damage like a broken frame.
    replayed.complete = replayed.complete && reader.status() == JournalStatus::Complete;
    replayed.validLength = replayed.complete ? reader.validLength() : lastApplied;
    return replayed;
}

} // namespace orvane::journal
