#include "journal_recovery.h"

#include "document_journal.h"

#include "host/host_error.h"
#include "journal/journal_format.h"
#include "journal/journal_replay.h"
#include "journal/journal_texts.h"
#include "journal/pending_journal.h"
#include "text/codec/utf8.h"

#include <QDir>

#include <optional>

namespace orvane {

namespace {

using journal::PendingJournal;

// The text the journal began from, in the edit control's form (UTF-8, as Open reads it), and the
// file's own Shift-JIS codes, which a save of the restored text writes back.
struct BaseText {
    QByteArray utf8;
    codec::cp932::FileCodes codes;
};

// The base read from the kept copy or the unchanged file; nothing when it cannot be read as it was.
std::optional<BaseText> baseText(Host &host, const PendingJournal &pending)
{
    if (pending.base == PendingJournal::Base::Untitled || pending.base == PendingJournal::Base::Inline)
        return BaseText();
    if (pending.base != PendingJournal::Base::Kept && pending.base != PendingJournal::Base::File)
        return std::nullopt;
    const codec::TextEncoding encoding = DocumentJournal::identityOf(pending.origin.form).encoding;
    LoadedText loaded;
    try {
        BusyScope busy(host.program);
        // In the document's encoding: bytes valid in several read as it read them.
        loaded = host.textFiles.readText(pending.basePath, encoding);
    } catch (const HostError &) {
        return std::nullopt;
    }
    // Bytes valid as both UTF-8 and Shift-JIS: the reading the document had.
    loaded.choose(encoding);
    if (loaded.encoding != encoding)
        return std::nullopt;
    QByteArray bytes = loaded.utf8;
    if (loaded.isUtf16())
        codec::utf8::encode(loaded.text, bytes);
    if (bytes.size() != pending.origin.baseLength)
        return std::nullopt;
    return BaseText {std::move(bytes), std::move(loaded.codes)};
}

} // namespace

namespace {

// The changes the question can honestly count: all of them, or -1 when what followed the damage
// cannot be read. The damaged record itself counts as one lost change.
qsizetype totalChanges(const PendingJournal &pending)
{
    if (!pending.isDamaged())
        return pending.changes;
    if (pending.changesAfterDamage < 0)
        return -1;
    return pending.changes + 1 + pending.changesAfterDamage;
}

// A journal set aside at an earlier start: its own question. True when it is to be restored.
bool mayRestoreSetAside(Host &host, PendingJournal &one, bool restorable)
{
    const QString path = QDir::toNativeSeparators(one.file->path());
    if (!restorable) {
        if (host.messageBox.msgBox(journal_texts::setAsideUnrestorable(one.fileName(), path),
                                   YesNo + Exclamation, appTitle())
            == MsgBoxAnswer::Yes)
            one.file->remove();
        return false;
    }
    if (host.messageBox.msgBox(journal_texts::setAsideQuestion(one.fileName(), path), YesNo + Exclamation,
                               appTitle())
        == MsgBoxAnswer::Yes)
        return true;
    one.file->remove();
    return false;
}

} // namespace

bool offerJournals(Host &host, journal::Journal &journal, const QString &folder,
                   const std::function<void()> &startWindow)
{
    QList<PendingJournal> pending = journal::takePendingJournals(folder);
    for (qsizetype i = 0; i < pending.size(); ++i) {
        PendingJournal &one = pending[i];
        std::optional<BaseText> base
            = one.base == PendingJournal::Base::Unreadable ? std::nullopt : baseText(host, one);
        if (one.wasSetAside && !mayRestoreSetAside(host, one, base.has_value()))
            continue;
        if (!base) {
            const QString kept = QDir::toNativeSeparators(journal::setAside(one));
            const QString message = one.base == PendingJournal::Base::Unreadable
                ? journal_texts::unreadable(kept)
                : journal_texts::originChanged(one.fileName(), kept);
            host.messageBox.msgBox(message, OkOnly + Exclamation, appTitle());
            continue;
        }
        journal::Replayed replayed;
        {
            BusyScope busy(host.program);
            const std::unique_ptr<journal::ByteSource> source = one.source();
            journal::JournalReader reader(*source);
            replayed = journal::replay(reader, std::move(base->utf8));
        }
        // Damage: a broken frame, or a record that does not fit the text.
        const bool damaged = one.wasSetAside || one.isDamaged() || !replayed.complete;
        QString question = journal_texts::recoveryQuestion(one.fileName());
        if (damaged) {
            question
                += QStringLiteral("\n\n") + journal_texts::damagedNote(replayed.changes, totalChanges(one));
            question += QStringLiteral("\n")
                + journal_texts::keptNote(QDir::toNativeSeparators(journal::setAsidePath(one)));
        }
        if (one.fileChanged)
            question += QStringLiteral("\n\n") + journal_texts::fileChangedNote();
        if (!one.wasSetAside
            && host.messageBox.msgBox(question, YesNo + Exclamation, appTitle()) != MsgBoxAnswer::Yes) {
            one.file->remove();
            continue;
        }

        {
            BusyScope busy(host.program);
            host.Text1.loadUtf8(replayed.text, codec::utf8::utf16Length(replayed.text));
        }
        FileIdentity restored = DocumentJournal::identityOf(replayed.form);
        restored.codes = std::move(base->codes);
        host.Text1.setLineEnd(restored.lineEnds.document);
        host.document.recover(restored);
        // Counted as unsaved against the file as it was read: a save asks when another program
        // changed it since.
        if (one.origin.file.size >= 0)
            host.document.setOnDisk(FileStamp {one.origin.file.size, one.origin.file.modifiedNs});
        // The restored window goes on writing the same journal, cut after what was replayed; a
        // damaged one is set aside untouched until the restored text is saved.
        if (damaged)
            journal::setAside(one);
        journal.adopt(one.file, one.origin, replayed, replayed.validLength, damaged);
        const bool moreLeft = i + 1 < pending.size();
        // Let go of the others' locks before another window takes them.
        pending.clear();
        if (moreLeft)
            startWindow();
        return true;
    }
    return false;
}

} // namespace orvane
