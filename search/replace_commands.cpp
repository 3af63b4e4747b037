#include "replace_commands.h"

#include "pattern_error_texts.h"
#include "search_texts.h"

#include <QLocale>

#include <algorithm>
#include <optional>

namespace orvane {

namespace {

// Below this many UTF-16 units a replace takes a few milliseconds at most, and a wait cursor
// would only flicker.
constexpr qsizetype busyCursorThreshold = 1'000'000;
// How much text before a position a regular expression sees (lookbehind, \b) when searching from
// it, and after a selection when checking that the selection is a match.
constexpr qsizetype regexContext = 1024;

QString patternError(const chars::Replacer &replacer)
{
    return search_texts::patternError(QLocale(QLocale::Japanese).toString(replacer.errorOffset() + 1),
                                      search_texts::japanesePatternError(replacer.errorText()));
}

// A piece of the main text read for searching: from `start` (a little before where the search
// begins, for a regular expression) to the end.
struct TextTail {
    qsizetype start = 0;
    QString text;
};

TextTail readTail(const EditControl &Text1, qsizetype from, bool regularExpression)
{
    TextTail tail;
    tail.start = regularExpression ? std::max<qsizetype>(0, from - regexContext) : from;
    const qsizetype expected = Text1.textLength() - tail.start;
    tail.text = Text1.textRange(tail.start, expected);
    // A start inside a surrogate pair reads from the pair's start.
    tail.start -= tail.text.size() - expected;
    return tail;
}

// Selects the first match at or after from in tail; an empty match at from itself is passed over
// when skipEmptyAtFrom, so that a search moves on from where an empty match left the caret.
bool selectNext(EditControl &Text1, const chars::Replacer &replacer, const TextTail &tail, qsizetype from,
                bool skipEmptyAtFrom)
{
    qsizetype at = from - tail.start;
    chars::ReplaceMatch match = replacer.find(tail.text, at);
    if (match.found() && skipEmptyAtFrom && match.length == 0 && match.start == at) {
        if (at >= tail.text.size())
            return false;
        const bool pair = at + 1 < tail.text.size()
            && ((tail.text[at].isHighSurrogate() && tail.text[at + 1].isLowSurrogate())
                || (tail.text[at] == u'\r' && tail.text[at + 1] == u'\n'));
        match = replacer.find(tail.text, at + (pair ? 2 : 1));
    }
    if (!match.found())
        return false;
    Text1.setSelStart(tail.start + match.start);
    Text1.setSelLength(match.length);
    return true;
}

} // namespace

chars::ReplaceCommand replaceCommand(const Host &host, const ReplaceSettings &settings)
{
    chars::ReplaceCommand command;
    command.pattern = settings.pattern;
    command.replacement = settings.replacement;
    command.compare = settings.binaryCompare ? chars::CompareMode::Binary : chars::CompareMode::Text;
    command.regularExpression = settings.regularExpression;
    command.lineEnd = codec::lineEndText(host.document.file().lineEnds.document).toString();
    return command;
}

ReplaceOutcome findNextMatch(Host &host, const ReplaceSettings &settings)
{
    const chars::Replacer replacer(replaceCommand(host, settings));
    if (!replacer.isValid())
        return {0, false, false, patternError(replacer)};
    EditControl &Text1 = host.Text1;
    const qsizetype selStart = Text1.selStart();
    const qsizetype selLength = Text1.selLength();
    const qsizetype from = selStart + selLength;
    const BusyScope busy(host.program);
    const TextTail tail = readTail(Text1, from, settings.regularExpression);
    return {0, selectNext(Text1, replacer, tail, from, selLength == 0), false, {}};
}

ReplaceOutcome replaceMatch(Host &host, const ReplaceSettings &settings)
{
    const chars::Replacer replacer(replaceCommand(host, settings));
    if (!replacer.isValid())
        return {0, false, false, patternError(replacer)};
    EditControl &Text1 = host.Text1;
    const qsizetype selStart = Text1.selStart();
    const qsizetype selLength = Text1.selLength();
    const BusyScope busy(host.program);
    TextTail tail = readTail(Text1, selStart, settings.regularExpression);
    const qsizetype at = selStart - tail.start;
    const chars::ReplaceMatch match = replacer.find(tail.text, at);
    if (!match.found() || match.start != at || match.length != selLength) {
        // Not a match: the click only finds the next one.
        return {0, selectNext(Text1, replacer, tail, selStart + selLength, selLength == 0), false, {}};
    }
    Text1.setSelText(match.replacement);
    // The rest is searched in the text as it is now, the replacement not again.
    tail.text.replace(at, match.length, match.replacement);
    const qsizetype after = selStart + match.replacement.size();
    return {1, selectNext(Text1, replacer, tail, after, match.length == 0), false, {}};
}

ReplaceOutcome replaceAllMatches(Host &host, const ReplaceSettings &settings)
{
    const chars::ReplaceCommand command = replaceCommand(host, settings);
    const chars::Replacer replacer(command);
    if (!replacer.isValid())
        return {0, false, false, patternError(replacer)};
    EditControl &Text1 = host.Text1;
    if (settings.selectionOnly && Text1.selLength() == 0)
        return {0, false, true, {}};
    std::optional<BusyScope> busy;
    if ((settings.selectionOnly ? Text1.selLength() : Text1.textLength()) > busyCursorThreshold)
        busy.emplace(host.program);

    if (settings.selectionOnly) {
        const qsizetype start = Text1.selStart();
        const chars::ReplaceResult result = replacer.replaceAll(Text1.selText());
        if (result.count > 0) {
            Text1.setReplacedSelText(result.text, command);
            Text1.setSelStart(start + result.lastEnd);
        }
        return {result.count, false, true, {}};
    }
    chars::ReplaceResult result = replacer.replaceAll(Text1.text());
    if (result.count > 0) {
        Text1.setReplacedText(result.text, command);
        // The new text is in the control now: its copy goes before the caret moves.
        result.text = QString();
        Text1.setSelStart(result.lastEnd);
    }
    return {result.count, false, true, {}};
}

} // namespace orvane
