#include "journal_recovery.h"

#include "document_journal.h"

#include "host/host_error.h"
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
    cp932::FileCodes codes;
};

// The base read from the kept copy or the unchanged file; nothing when it cannot be read as it was.
std::optional<BaseText> baseText(Host &host, const PendingJournal &pending)
{
    if (pending.base == PendingJournal::Base::Untitled)
        return BaseText();
    if (pending.base != PendingJournal::Base::Kept && pending.base != PendingJournal::Base::File)
        return std::nullopt;
    LoadedText loaded;
    try {
        BusyScope busy(host.program);
        loaded = host.textFiles.readText(pending.basePath);
    } catch (const HostError &) {
        return std::nullopt;
    }
    const TextEncoding encoding = DocumentJournal::identityOf(pending.origin.form).encoding;
    // Bytes valid as both UTF-8 and Shift-JIS: the reading the document had.
    loaded.choose(encoding);
    if (loaded.encoding != encoding)
        return std::nullopt;
    QByteArray bytes = loaded.utf8;
    if (loaded.isUtf16())
        utf8::encode(loaded.text, bytes);
    if (bytes.size() != pending.origin.baseLength)
        return std::nullopt;
    return BaseText {std::move(bytes), std::move(loaded.codes)};
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
            replayed = journal::replay(one.parsed.records, base->utf8);
        }
        QString question = journal_texts::recoveryQuestion(one.fileName());
        if (one.isDamaged() || !replayed.complete)
            question += QStringLiteral("\n\n") + journal_texts::damagedNote();
        if (host.messageBox.msgBox(question, YesNo + Exclamation, appTitle()) != MsgBoxAnswer::Yes) {
            one.file->remove();
            continue;
        }

        {
            BusyScope busy(host.program);
            host.Text1.loadUtf8(replayed.text, utf8::utf16Length(replayed.text));
        }
        FileIdentity restored = DocumentJournal::identityOf(replayed.form);
        restored.codes = std::move(base->codes);
        host.Text1.setLineEnd(restored.lineEnds.document);
        host.document.recover(restored);
        // The restored window goes on writing the same journal, cut after what was replayed.
        journal.adopt(one.file, one.origin, replayed, one.parsed.lengthOf(replayed.applied));
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
