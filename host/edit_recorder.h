#pragma once
// What an edit control tells of each change to its text before making it, so that a journal can
// keep every edit. Positions and lengths are bytes of the control's UTF-8 text.

#include "text/chars/conversion_kind.h"
#include "text/chars/replacer.h"

#include <QByteArrayView>

namespace orvane {

class EditRecorder {
public:
    virtual ~EditRecorder() = default;

    virtual void inserting(qint64 position, QByteArrayView utf8) = 0;
    virtual void deleting(qint64 position, qint64 length) = 0;
    // A conversion of the kind replaces the whole text or the selection: the changes until
    // conversionEnds are its own. Returns the mark that the control puts on its undo step.
    virtual qint32 conversionBegins(chars::ConversionKind kind, bool wholeText) = 0;
    virtual void conversionEnds() = 0;
    // A replace of every match in the whole text or in the selection, recorded as the command:
    // like a conversion, its changes last until conversionEnds, and it returns its step's mark.
    virtual qint32 replacementBegins(const chars::ReplaceCommand &command, bool wholeText) = 0;
    // Undo or redo passes a step's mark twice: as the step begins and as it ends.
    virtual void stepMark(qint32 mark, bool redo) = 0;
};

} // namespace orvane
