#include "journal_replay.h"

#include "text/chars/convert.h"
#include "text/codec/utf8.h"

#include <cstring>

namespace orvane::journal {

namespace {

// What undo and redo of a conversion's step put back: the changed part before and after.
struct ConversionStep {
    qint64 position = 0;
    QByteArray before;
    QByteArray after;
};

bool sameBytes(const QByteArray &text, qint64 position, const QByteArray &expected)
{
    return position >= 0 && position <= text.size() && expected.size() <= text.size() - position
        && std::memcmp(text.constData() + position, expected.constData(), size_t(expected.size())) == 0;
}

std::optional<QByteArray> converted(ConversionKind kind, QByteArrayView bytes)
{
    QString text;
    if (!utf8::decode(bytes, text))
        return std::nullopt;
    return convert(kind, text).toUtf8();
}

class Replayer {
public:
    explicit Replayer(QByteArray base)
        : m_text(std::move(base))
    {
    }

    bool apply(const Insert &r)
    {
        if (r.position > m_text.size())
            return false;
        m_text.insert(r.position, r.bytes);
        return true;
    }
    bool apply(const Delete &r)
    {
        if (r.position > m_text.size() || r.length > m_text.size() - r.position)
            return false;
        m_text.remove(r.position, r.length);
        return true;
    }
    bool apply(const Conversion &r)
    {
        const qint64 size = m_text.size();
        if (r.position > size || r.removed > size - r.position)
            return false;
        ConversionStep step {r.position, m_text.mid(r.position, r.removed), {}};
        if (r.wholeText) {
            std::optional<QByteArray> next = converted(r.kind, m_text);
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
            std::optional<QByteArray> next = converted(r.kind, step.before);
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
    // Only the first record is an origin.
    bool apply(const Origin &) { return false; }

    Replayed result(qsizetype applied, bool complete)
    {
        return {std::move(m_text), m_form, qint32(m_steps.size()), applied, complete};
    }

    DocumentForm m_form;

private:
    QByteArray m_text;
    QList<ConversionStep> m_steps;
};

} // namespace

Replayed replay(const QList<Record> &records, QByteArray base)
{
    if (records.isEmpty() || !std::holds_alternative<Origin>(records.first()))
        return {};
    const Origin &origin = std::get<Origin>(records.first());
    if (origin.baseLength != base.size())
        return {};
    Replayer replayer(std::move(base));
    replayer.m_form = origin.form;
    qsizetype applied = 1;
    for (; applied < records.size(); ++applied) {
        if (!std::visit([&](const auto &record) { return replayer.apply(record); }, records[applied]))
            break;
    }
    return replayer.result(applied, applied == records.size());
}

} // namespace orvane::journal
