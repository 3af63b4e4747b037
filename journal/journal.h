#pragma once
// The journal of one window's document: the origin, then every change as the edit control makes
// it, each appended to the kernel at once and synced to the disk shortly after. Owns the journal
// file (created at the first edit, removed when the document is saved or discarded) and the
// thread that syncs it.

#include "journal_record.h"

#include "host/edit_recorder.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace orvane::journal {

class JournalFile;
class JournalSyncer;
struct Replayed;

class Journal final : public EditRecorder {
public:
    // folder: where journals are kept (created on the first edit).
    explicit Journal(QString folder);
    // Leaves the file as it is: a journal outlives a program that did not end normally.
    ~Journal() override;
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    // A document whose text is now as form's file gives it (opened, or just saved) or empty (new,
    // untitled): the previous journal goes, the next edit starts one. baseLength is the text's
    // length in bytes; file is the form's file as the text was read from it, if known (else the
    // journal looks at the file now).
    void startDocument(const DocumentForm &form, qint64 baseLength,
                       const std::optional<FileVersion> &file = std::nullopt);
    // The document was discarded, or the program ends normally: the journal goes.
    void discard();
    // The document's name or form changed, its text did not.
    void changeForm(const DocumentForm &form);

    // The edit control's changes, before it makes them.
    void inserting(qint64 position, QByteArrayView bytes) override;
    void deleting(qint64 position, qint64 length) override;
    // A conversion begins: the changes until conversionEnds are its own and recorded as the
    // command. Returns the number that marks its undo step.
    qint32 conversionBegins(ConversionKind kind, bool wholeText) override;
    void conversionEnds() override;
    // The control passes a step's mark while undoing or redoing it: the first pass of a mark
    // begins the step, the second ends it. A conversion's step is recorded as its undo or redo.
    void stepMark(qint32 mark, bool redo) override;

    // Continues a journal left by a window that is gone, now restored into this one: file is
    // locked, its records up to validLength replayed to replayed.
    void adopt(std::shared_ptr<JournalFile> file, const Origin &origin, const Replayed &replayed,
               qint64 validLength);

    // Puts everything written on the disk before returning (a signal, the end of the session).
    void syncNow();
    // Waits for the thread's pending work (tests).
    void drain();

    // The journal file's path; empty while there is none.
    QString filePath() const;

private:
    struct PendingConversion {
        Conversion record;
        bool changed = false;
    };

    bool ensureFile();
    void commit();
    void keepOriginalInBackground();

    QString m_folder;
    std::unique_ptr<JournalSyncer> m_syncer;
    std::shared_ptr<JournalFile> m_file;
    Origin m_origin;
    DocumentForm m_form;
    QByteArray m_buffer;
    // Undo marks: m_firstMark numbers this file's first conversion, m_nextMark the next one.
    qint32 m_firstMark = 0;
    qint32 m_nextMark = 0;
    std::optional<PendingConversion> m_conversion;
    std::optional<StepUndo> m_step;
    qint32 m_openMark = -1;
    // A write failed: the file no longer follows the text, so nothing more goes into it.
    bool m_broken = false;
};

} // namespace orvane::journal
