#pragma once
// The replace dialog's three commands on the main text, without the dialog: find the next match,
// replace the selected match and find the next, replace every match in one undo step.

#include "host/host.h"
#include "text/chars/replacer.h"

#include <QString>

namespace orvane {

// What one click of the dialog is asked to do; the dialog fills it from its controls.
struct ReplaceSettings {
    QString pattern;
    QString replacement;
    bool binaryCompare = false;
    bool regularExpression = false;
    bool selectionOnly = false; // すべて置換 only: the selection rather than the whole text
};

// What a command did, for the dialog's status line.
struct ReplaceOutcome {
    qsizetype replaced = 0;
    bool found = false; // a match is now selected (find and replace one)
    bool all = false; // the count is of すべて置換
    QString error; // a regular expression that does not compile, in Japanese; nothing changed
};

// The command as the journal keeps it, \n of a regular expression's replacement being the
// document's line end.
chars::ReplaceCommand replaceCommand(const Host &host, const ReplaceSettings &settings);

// Selects the next match after the selection.
ReplaceOutcome findNextMatch(Host &host, const ReplaceSettings &settings);
// Replaces the selection when it is a match, as one undo step, and selects the next match.
ReplaceOutcome replaceMatch(Host &host, const ReplaceSettings &settings);
// Replaces every match of the whole text, or of the selection, as one undo step, and leaves the
// caret after the last replacement.
ReplaceOutcome replaceAllMatches(Host &host, const ReplaceSettings &settings);

} // namespace orvane
