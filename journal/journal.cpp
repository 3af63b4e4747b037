#include "journal.h"

#include "file_identity.h"
#include "journal_file.h"
#include "journal_folder.h"
#include "journal_format.h"
#include "journal_replay.h"
#include "journal_syncer.h"

#include <QFile>

namespace orvane::journal {

namespace {

// A file larger than this is kept only where the file system can clone it; otherwise its
// identity alone tells at recovery whether it is still the one the journal began from.
constexpr qint64 copyLimit = 64 * 1024 * 1024;

// The buffer keeps its room between records, but not the room of a large paste.
constexpr qsizetype keptBufferRoom = 1024 * 1024;

} // namespace

Journal::Journal(QString folder)
    : m_folder(std::move(folder))
    , m_syncer(std::make_unique<JournalSyncer>())
{
}

Journal::~Journal() = default;

void Journal::startDocument(const DocumentForm &form, qint64 baseLength,
                            const std::optional<FileVersion> &file)
{
    discard();
    const FileVersion version = form.path.isEmpty() ? FileVersion {} : file ? *file : identifyFile(form.path);
    m_origin = Origin {form, version, baseLength};
    m_form = form;
    m_firstMark = m_nextMark;
    m_broken = false;
}

void Journal::discard()
{
    if (m_file)
        m_file->remove();
    m_file.reset();
    m_conversion.reset();
    m_step.reset();
    m_openMark = -1;
}

void Journal::changeForm(const DocumentForm &form)
{
    if (form == m_form)
        return;
    m_form = form;
    if (!m_file || m_broken)
        return;
    appendRecord(m_buffer, FormChange {form});
    commit();
}

bool Journal::ensureFile()
{
    if (m_broken)
        return false;
    if (m_file)
        return true;
    QByteArray opening = journalHeader();
    appendRecord(opening, m_origin);
    if (m_form != m_origin.form)
        appendRecord(opening, FormChange {m_form});
    if (!makeJournalFolder(m_folder) || !(m_file = JournalFile::create(newJournalPath(m_folder), opening))) {
        m_broken = true;
        return false;
    }
    // Only now may the thread append to the file: the header and origin are in it.
    keepOriginalInBackground();
    return true;
}

void Journal::keepOriginalInBackground()
{
    if (m_origin.form.path.isEmpty() || m_origin.file.size < 0)
        return;
    m_syncer->post([file = m_file, source = m_origin.form.path, identity = m_origin.file] {
        const QString kept = file->originalPath();
        const bool isKept = keepOriginal(source, kept, identity, copyLimit);
        // Removed meanwhile: the copy must not outlive its journal.
        if (file->isRemoved()) {
            QFile::remove(kept);
            return;
        }
        if (const std::optional<quint64> hash = hashFile(isKept ? kept : source, identity)) {
            QByteArray record;
            appendRecord(record, OriginHash {*hash});
            file->append(record);
        }
    });
}

void Journal::commit()
{
    if (!m_file->append(m_buffer))
        m_broken = true;
    else
        m_syncer->written(m_file);
    if (m_buffer.capacity() > keptBufferRoom)
        m_buffer = QByteArray();
    else
        m_buffer.resize(0);
}

void Journal::inserting(qint64 position, QByteArrayView bytes)
{
    if (m_conversion) {
        Conversion &record = m_conversion->record;
        if (!m_conversion->changed)
            record.position = position;
        m_conversion->changed = true;
        record.inserted += bytes.size();
        return;
    }
    if (m_step || !ensureFile())
        return;
    appendInsert(m_buffer, position, bytes);
    commit();
}

void Journal::deleting(qint64 position, qint64 length)
{
    if (m_conversion) {
        Conversion &record = m_conversion->record;
        if (!m_conversion->changed)
            record.position = position;
        m_conversion->changed = true;
        record.removed += length;
        return;
    }
    if (m_step || !ensureFile())
        return;
    appendRecord(m_buffer, Delete {position, length});
    commit();
}

qint32 Journal::conversionBegins(ConversionKind kind, bool wholeText)
{
    PendingConversion pending;
    pending.record.kind = kind;
    pending.record.wholeText = wholeText;
    m_conversion = pending;
    return m_nextMark++;
}

void Journal::conversionEnds()
{
    if (!m_conversion)
        return;
    const PendingConversion pending = *m_conversion;
    m_conversion.reset();
    // Every conversion gets its number in the file, changed or not, so that the numbers of the
    // file stay those of the marks.
    if (!ensureFile())
        return;
    appendRecord(m_buffer, pending.record);
    commit();
}

void Journal::stepMark(qint32 mark, bool redo)
{
    if (m_openMark < 0) {
        m_openMark = mark;
        // A step of this file's conversions is recorded as its undo; any other (made before the
        // document was last saved) as the changes it makes.
        if (mark >= m_firstMark && mark < m_nextMark && m_file)
            m_step = StepUndo {mark - m_firstMark, redo};
        return;
    }
    if (mark != m_openMark)
        return;
    m_openMark = -1;
    if (!m_step)
        return;
    const StepUndo step = *m_step;
    m_step.reset();
    if (!ensureFile())
        return;
    appendRecord(m_buffer, step);
    commit();
}

void Journal::adopt(std::shared_ptr<JournalFile> file, const Origin &origin, const Replayed &replayed,
                    qint64 validLength)
{
    discard();
    m_file = std::move(file);
    m_origin = origin;
    m_form = replayed.form;
    m_firstMark = m_nextMark - replayed.conversions;
    m_broken = !m_file->truncate(validLength);
}

void Journal::syncNow()
{
    if (m_file)
        m_file->sync();
}

void Journal::drain() { m_syncer->drain(); }

QString Journal::filePath() const { return m_file ? m_file->path() : QString(); }

} // namespace orvane::journal
