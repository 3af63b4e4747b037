#pragma once
// The journal of one window's document: the origin, then every change as the edit control makes
// it, each appended to the kernel at once and synced to the disk shortly after. Owns the journal
// file (created at the first edit, removed when the document is saved or discarded) and the
// thread that syncs it.

#include "file_bytes.h"
#include "journal_fault.h"
#include "journal_record.h"

#include "host/edit_recorder.h"

#include <QByteArray>
#include <QString>

#include <functional>
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

    // Who is told when writing fails and when it works again (on the UI thread); null for no one.
    void setWatcher(JournalWatcher *watcher) { m_watcher = watcher; }
    // The document's whole text as the edit control holds it (UTF-8), for a journal that resumes.
    void setTextSource(std::function<QByteArray()> text) { m_text = std::move(text); }

    // A document whose text is now as form's file gives it (opened, or just saved) or empty (new,
    // untitled): the previous journal goes, the next edit starts one. baseLength is the text's
    // length in bytes; file is the form's file as the text was read from it, if known (else the
    // journal looks at the file now). base: the file's bytes as read, kept beside the journal at
    // the first edit (off the UI thread, then let go) so that recovery never reads the file again.
    // saved: the text is now safe on disk, so a damaged journal it was restored from may go.
    void startDocument(const DocumentForm &form, qint64 baseLength,
                       const std::optional<FileVersion> &file = std::nullopt, FileBytes base = {},
                       bool saved = false);
    // Checks the folder at once, so that a window can tell before the first edit that nothing
    // could be kept.
    void checkFolder();
    // While writing fails: tries again (a timer calls it). A journal that resumes begins with the
    // whole current text.
    void retry();
    bool isFailing() const { return m_fault.has_value(); }
    // The document was discarded, or the program ends normally: the journal goes.
    void discard();
    // The document's name or form changed, its text did not.
    void changeForm(const DocumentForm &form);

    // The edit control's changes, before it makes them.
    void inserting(qint64 position, QByteArrayView bytes) override;
    void deleting(qint64 position, qint64 length) override;
    // A conversion begins: the changes until conversionEnds are its own and recorded as the
    // command. Returns the number that marks its undo step.
    qint32 conversionBegins(chars::ConversionKind kind, bool wholeText) override;
    void conversionEnds() override;
    // A replace of every match, recorded as the command like a conversion.
    qint32 replacementBegins(const chars::ReplaceCommand &command, bool wholeText) override;
    // The control passes a step's mark while undoing or redoing it: the first pass of a mark
    // begins the step, the second ends it. A conversion's step is recorded as its undo or redo.
    void stepMark(qint32 mark, bool redo) override;

    // Continues a journal left by a window that is gone, now restored into this one: file is
    // locked, its records up to validLength replayed to replayed. A damaged one (or one set aside
    // before) is not written again: it stays as it is, locked, until the restored text is saved,
    // and a new journal begins with the whole restored text at the next edit.
    void adopt(std::shared_ptr<JournalFile> file, const Origin &origin, const Replayed &replayed,
               qint64 validLength, bool damaged = false);

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
        // Set for a replacement, which is recorded with its command instead of a kind.
        std::optional<chars::ReplaceCommand> replace;
    };

    enum class Ready { No, Yes, Rebased };
    // Makes sure a journal follows the text; after a failure, a new one beginning with the text as
    // it now is (Rebased). textIsChanged: the change to record is in the text already.
    Ready ensureFile(bool textIsChanged = false);
    bool record(bool textIsChanged = false);
    void commit();
    void keepOriginalInBackground();
    void fail(const JournalFault &fault);
    void resumed();

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
    // A write failed: the file no longer follows the text, so nothing more goes into it, and the
    // next journal begins with the whole text.
    bool m_broken = false;
    bool m_edited = false;
    FileBytes m_base;
    std::optional<JournalFault> m_fault;
    JournalWatcher *m_watcher = nullptr;
    std::function<QByteArray()> m_text;
    // A damaged journal the text was restored from, kept until it is saved.
    std::shared_ptr<JournalFile> m_keptUntilSaved;
};

} // namespace orvane::journal
