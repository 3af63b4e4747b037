#pragma once
// Converts between byte positions of a Scintilla document (UTF-8) and UTF-16 code units.
// Owns a sorted list of known (byte, unit) pairs that it shifts on every edit and fills by
// scanning the buffer, so no edit costs a count over the whole document. (Scintilla's own UTF-16
// line index answers faster but slows every load, replacement and undo by about half.)

#include "sci_call.h"

#include <QtGlobal>

#include <vector>

namespace orvane {

class Utf16Index {
public:
    explicit Utf16Index(SciCall call);

    // Called before the document changes, as Scintilla's SC_MOD_BEFOREINSERT/BEFOREDELETE say.
    void beforeInsert(qsizetype byte, qsizetype length);
    void beforeDelete(qsizetype byte, qsizetype length);
    // Forgets everything known, for a document replaced without notifications.
    void reset();
    // Records the UTF-16 length of the whole document where the caller knows it.
    void noteLength(qsizetype units);

    qsizetype toUtf16(qsizetype byte) const;
    // A unit inside a surrogate pair gives the pair's start; past the end gives the end.
    qsizetype toByte(qsizetype unit) const;
    qsizetype length() const;

private:
    struct Mark {
        qsizetype byte;
        qsizetype unit;
    };

    void settle() const;
    qsizetype countUnits(qsizetype from, qsizetype to) const;
    // Walks forward from a mark to the byte where `unit` starts, recording marks on the way.
    qsizetype seek(Mark from, qsizetype unit) const;
    void addMark(Mark mark) const;
    qsizetype documentLength() const;

    SciCall m_call;
    mutable std::vector<Mark> m_marks;
    mutable qsizetype m_pendingByte = -1;
    mutable qsizetype m_pendingLength = 0;
};

} // namespace orvane
