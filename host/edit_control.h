#pragma once
// The document's edit control: its text, selection and undo, in UTF-16 code units of a text whose
// line ends are CR LF. Positions are 0-based; a position inside a surrogate pair moves to its start.

#include <QString>
#include <functional>

namespace orvane {

class EditControl {
public:
    virtual ~EditControl() = default;

    virtual QString text() const = 0;
    // Replaces the whole text as one undo step; lone CR and LF become CR LF.
    virtual void setText(const QString &text) = 0;
    // Replaces the whole text and starts a fresh undo history (a loaded or new document).
    virtual void loadText(const QString &text) = 0;

    virtual qsizetype selStart() const = 0;
    virtual qsizetype selLength() const = 0;
    virtual QString selText() const = 0;
    // Replaces the selection as one undo step and leaves the caret after the inserted text.
    virtual void setSelText(const QString &text) = 0;
    // Moves the caret there with an empty selection, as the text box's SelStart does.
    virtual void setSelStart(qsizetype start) = 0;
    // Extends the selection from selStart, clamped to the end of the text.
    virtual void setSelLength(qsizetype length) = 0;

    virtual void undo() = 0;

    // Called once after every change of the content (typed, assigned, undone), never when nothing changed.
    virtual void setChangeHandler(std::function<void()> handler) = 0;
};

} // namespace orvane
