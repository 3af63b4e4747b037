// The journal's reader and replay. An input whose first byte is even is read as a journal: any
// bytes read without a crash, and what they give back is exactly the replay of a prefix of
// records. An odd first byte makes the rest a script of edits (inserts, deletions, conversions and
// replacements of the whole text or a part, undo and redo of them) made through the journal writer: its
// journal replays to the text the edits made, and so does every cut of it, to the text at its last complete
// record.

#include "fuzz/fuzz_check.h"
#include "journal/journal.h"
#include "journal/journal_format.h"
#include "journal/journal_replay.h"
#include "tests/journal/edit_model.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::journal;

namespace {

void readAnyBytes(QByteArrayView bytes)
{
    const ParsedJournal parsed = parseJournal(bytes);
    FUZZ_CHECK(parsed.validLength <= bytes.size());
    if (parsed.status == ParsedJournal::Status::Complete)
        FUZZ_CHECK(parsed.validLength == bytes.size());
    // What was read reads again, exactly, from the valid part alone.
    if (parsed.status != ParsedJournal::Status::Newer && parsed.status != ParsedJournal::Status::NotJournal)
        FUZZ_CHECK(parseJournal(bytes.first(parsed.validLength)).records.size() == parsed.records.size());
    if (parsed.records.isEmpty() || !std::holds_alternative<Origin>(parsed.records.first()))
        return;
    const qint64 baseLength = std::get<Origin>(parsed.records.first()).baseLength;
    if (baseLength > 4096)
        return;
    const QByteArray base(baseLength, 'a');
    const Replayed all = replay(parsed.records, base);
    FUZZ_CHECK(all.applied >= 1 && all.applied <= parsed.records.size());
    const Replayed prefix = replay(parsed.records.first(all.applied), base);
    FUZZ_CHECK(prefix.complete && prefix.text == all.text && prefix.form == all.form);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replacements in each mode, of characters the script's inserts bring.
const chars::ReplaceCommand replaceCommands[] = {
    {u"a"_qs, u"ｱ"_qs, chars::CompareMode::Text, false, u"\r\n"_qs},
    {u"ガ"_qs, QString(), chars::CompareMode::Text, false, u"\n"_qs},
    {u"\r\n"_qs, u"\n"_qs, chars::CompareMode::Binary, false, u"\r"_qs},
    {u"(.)\\n"_qs, u"[$1]\\n"_qs, chars::CompareMode::Text, true, u"\n"_qs},
    {u"^"_qs, u"> "_qs, chars::CompareMode::Binary, true, u"\r\n"_qs},
};

void runScript(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    Journal journal(folder.path());
    journal.startDocument({}, 0);
    test::EditModel model(journal);
    // After each edit: the journal's size and the text.
    QList<std::pair<qint64, QByteArray>> marks;
    const auto clampToCharacter = [&](qint64 at) {
        at = std::min<qint64>(at, model.text().size());
        while (at > 0 && at < model.text().size() && (quint8(model.text()[at]) & 0xC0) == 0x80)
            --at;
        return at;
    };
    // The conversions that undo and redo may take back: only while nothing else changed since.
    QList<qsizetype> done;
    QList<qsizetype> undone;
    for (size_t i = 0; i + 2 < size; i += 3) {
        const uint8_t op = data[i] % 7;
        const qint64 a = clampToCharacter(data[i + 1]);
        const qint64 b = clampToCharacter(a + data[i + 2] % 16);
        switch (op) {
        case 0:
        case 1:
            model.insert(a, fuzz::unitsOf(data + i + 1, 2).toUtf8() + (op ? "ｶﾞa\r\n" : ""));
            done.clear();
            undone.clear();
            break;
        case 2:
            model.remove(a, b - a);
            done.clear();
            undone.clear();
            break;
        case 3: {
            const chars::ConversionKind kind = chars::allConversionKinds[data[i + 2] % 6];
            done.append(data[i + 1] & 1 ? model.convert(kind) : model.convert(kind, a, b));
            undone.clear();
            break;
        }
        case 6: {
            const chars::ReplaceCommand &command = replaceCommands[data[i + 2] % std::size(replaceCommands)];
            done.append(data[i + 1] & 1 ? model.replace(command) : model.replace(command, a, b));
            undone.clear();
            break;
        }
        case 4:
            if (!done.isEmpty()) {
                model.undo(done.last());
                undone.append(done.takeLast());
            }
            break;
        case 5:
            if (!undone.isEmpty()) {
                model.redo(undone.last());
                done.append(undone.takeLast());
            }
            break;
        }
        marks.append({QFileInfo(journal.filePath()).size(), model.text()});
    }
    const QString path = journal.filePath();
    if (path.isEmpty())
        return;
    const QByteArray bytes = fileBytes(path);
    journal.discard();
    const ParsedJournal parsed = parseJournal(bytes);
    FUZZ_CHECK(parsed.status == ParsedJournal::Status::Complete);
    const Replayed replayed = replay(parsed.records, {});
    FUZZ_CHECK(replayed.complete && replayed.text == model.text());
    // A cut anywhere gives the text of the last edit whose record it holds whole.
    const qint64 cut = qint64(data[0]) * bytes.size() / 255;
    const Replayed partial = replay(parseJournal(QByteArrayView(bytes).first(cut)).records, {});
    QByteArray expected;
    for (const auto &[end, text] : marks)
        if (end <= cut)
            expected = text;
    FUZZ_CHECK(partial.text == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] & 1)
        runScript(data + 1, size - 1);
    else
        readAnyBytes(QByteArrayView(data + 1, qsizetype(size - 1)));
    return 0;
}
