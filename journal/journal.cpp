#include "journal.h"

#include "file_identity.h"
#include "journal_file.h"
#include "journal_folder.h"
#include "journal_format.h"
#include "journal_replay.h"
#include "journal_syncer.h"

#include <QFile>

#include <cerrno>
#include <limits>
#include <utility>

namespace orvane::journal {

namespace {

// A file without its bytes in memory (one just saved) is cloned or copied from the disk, whatever
// its size.
constexpr qint64 copyLimit = std::numeric_limits<qint64>::max();

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
                            const std::optional<FileVersion> &file, FileBytes base, bool saved)
{
    discard();
    if (saved && m_keptUntilSaved) {
        m_keptUntilSaved->remove();
        m_keptUntilSaved.reset();
    }
    const FileVersion version = form.path.isEmpty() ? FileVersion {} : file ? *file : identifyFile(form.path);
    m_origin = Origin {form, version, baseLength};
    m_form = form;
    m_base = std::move(base);
    m_firstMark = m_nextMark;
    m_broken = false;
    m_edited = false;
}

void Journal::discard()
{
    if (m_file)
        m_file->remove();
    m_file.reset();
    m_base = FileBytes();
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

void Journal::checkFolder()
{
    if (const std::optional<JournalFault> fault = makeJournalFolder(m_folder))
        fail(*fault);
}

void Journal::fail(const JournalFault &fault)
{
    // An edit was lost: the next journal must hold the whole text. Before any edit the base the
    // document was read from still serves.
    if (m_edited)
        m_broken = true;
    if (m_fault)
        return;
    m_fault = fault;
    if (m_watcher)
        m_watcher->journalFailed(fault);
}

void Journal::resumed()
{
    if (!m_fault)
        return;
    m_fault.reset();
    if (m_watcher)
        m_watcher->journalResumed();
}

Journal::Ready Journal::ensureFile(bool textIsChanged)
{
    m_edited = true;
    if (m_file && !m_broken)
        return Ready::Yes;
    // After a failure the records no longer follow the text: a new journal holds it whole.
    const bool rebase = m_broken;
    QByteArray opening = journalHeader();
    Origin origin = m_origin;
    if (rebase) {
        origin.baseLength = 0;
        appendRecord(opening, origin);
        appendRecord(opening, FormChange {m_form});
        appendRecord(opening, Rebase {m_text ? m_text() : QByteArray()});
    } else {
        appendRecord(opening, origin);
        if (m_form != m_origin.form)
            appendRecord(opening, FormChange {m_form});
    }
    if (const std::optional<JournalFault> fault = makeJournalFolder(m_folder)) {
        fail(*fault);
        return Ready::No;
    }
    int error = 0;
    std::shared_ptr<JournalFile> file = JournalFile::create(newJournalPath(m_folder), opening, &error);
    if (!file) {
        fail(JournalFault::ofError(error, m_folder));
        return Ready::No;
    }
    if (m_file)
        m_file->remove();
    m_file = std::move(file);
    m_broken = false;
    m_syncer->written(m_file);
    resumed();
    if (!rebase) {
        // Only now may the thread append to the file: the header and origin are in it.
        keepOriginalInBackground();
        return Ready::Yes;
    }
    m_base = FileBytes();
    // Undo of a conversion made before counts as the changes it makes.
    m_firstMark = m_nextMark;
    // A change already in the text is in the rebase too.
    return textIsChanged ? Ready::Rebased : Ready::Yes;
}

bool Journal::record(bool textIsChanged) { return ensureFile(textIsChanged) == Ready::Yes; }

void Journal::retry()
{
    if (!m_fault || m_conversion || m_step || m_openMark >= 0)
        return;
    if (m_edited) {
        ensureFile(true);
        return;
    }
    // Nothing to keep yet: a journal that can be made and written is enough.
    if (makeJournalFolder(m_folder))
        return;
    QByteArray probe = journalHeader();
    probe.append(4096, '\0');
    if (const std::shared_ptr<JournalFile> file = JournalFile::create(newJournalPath(m_folder), probe)) {
        file->remove();
        m_broken = false;
        resumed();
    }
}

void Journal::keepOriginalInBackground()
{
    if (m_origin.form.path.isEmpty() || m_origin.file.size < 0)
        return;
    m_syncer->post([file = m_file, source = m_origin.form.path, identity = m_origin.file,
                    base = std::exchange(m_base, FileBytes())]() mutable {
        const QString kept = file->originalPath();
        // From the bytes read, else from the file while it is still the one opened.
        const bool isKept = base.isEmpty() ? keepOriginal(source, kept, identity, copyLimit)
                                           : keepBytes(base, kept, identity);
        base = FileBytes();
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
    // A sync of the thread that failed since counts as a failed write.
    if (!m_file->append(m_buffer) || m_file->lastError() != 0)
        fail(JournalFault::ofError(m_file->lastError(), m_folder));
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
    if (m_step || !record())
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
    if (m_step || !record())
        return;
    appendRecord(m_buffer, Delete {position, length});
    commit();
}

qint32 Journal::conversionBegins(chars::ConversionKind kind, bool wholeText)
{
    PendingConversion pending;
    pending.record.kind = kind;
    pending.record.wholeText = wholeText;
    m_conversion = pending;
    return m_nextMark++;
}

qint32 Journal::replacementBegins(const chars::ReplaceCommand &command, bool wholeText)
{
    const qint32 mark = conversionBegins(chars::ConversionKind::Upper, wholeText);
    m_conversion->replace = command;
    return mark;
}

void Journal::conversionEnds()
{
    if (!m_conversion)
        return;
    const PendingConversion pending = *m_conversion;
    m_conversion.reset();
    // Every conversion gets its number in the file, changed or not, so that the numbers of the
    // file stay those of the marks.
    if (!record(true))
        return;
    if (const auto &command = pending.replace) {
        const Conversion &r = pending.record;
        appendRecord(m_buffer, Replacement {*command, r.wholeText, r.position, r.removed, r.inserted});
    } else {
        appendRecord(m_buffer, pending.record);
    }
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
    if (!record(true))
        return;
    appendRecord(m_buffer, step);
    commit();
}

void Journal::adopt(std::shared_ptr<JournalFile> file, const Origin &origin, const Replayed &replayed,
                    qint64 validLength, bool damaged)
{
    discard();
    m_origin = origin;
    m_form = replayed.form;
    m_edited = true;
    if (damaged) {
        if (m_keptUntilSaved && m_keptUntilSaved != file)
            m_keptUntilSaved.reset();
        m_keptUntilSaved = std::move(file);
        m_broken = true;
        return;
    }
    m_file = std::move(file);
    m_firstMark = m_nextMark - replayed.conversions;
    if (!m_file->truncate(validLength))
        fail(JournalFault::ofError(m_file->lastError() ? m_file->lastError() : errno, m_folder));
}

void Journal::syncNow()
{
    if (m_file)
        m_file->sync();
}

void Journal::drain() { m_syncer->drain(); }

QString Journal::filePath() const { return m_file ? m_file->path() : QString(); }

} // namespace orvane::journal
