#pragma once
// The document's edit control: its text, selection and undo, in UTF-16 code units of a text whose
// line ends are each as written (CR LF counts two units, a lone LF or CR one). Positions are
// 0-based; a position inside a surrogate pair moves to its start.

#include "host/edit_recorder.h"
#include "host/text_blocks.h"
#include "text/chars/conversion_kind.h"
#include "text/codec/line_ends.h"
#include "text/codec/utf8.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <functional>
#include <memory>

namespace orvane {

// A text being loaded as UTF-8 blocks beside the control's current one, which stays as it is
// until the control takes the load over. Owns what has been appended so far.
class TextLoad {
public:
    virtual ~TextLoad() = default;
    // Room for the whole text, given once before the first append.
    virtual void reserve(qsizetype bytes) = 0;
    // May be called from another thread than the control's, one thread at a time.
    virtual void append(QByteArrayView utf8) = 0;
};

class EditControl {
public:
    virtual ~EditControl() = default;

    virtual QString text() const = 0;
    // The text block by block for a save, read where the control keeps it; the text must stay as
    // it is while the blocks are read.
    virtual std::unique_ptr<TextBlocks> readBlocks() const;
    // The text's length in UTF-16 units, without reading the text back where the control can.
    virtual qsizetype textLength() const { return text().size(); }
    // The 0-based position of the first occurrence of sought (equal UTF-16 units) that begins at
    // or after from, or -1. An empty sought is found at from when from lies within the text.
    // Controls that keep their text in another form override this to search it in place.
    virtual qsizetype findBinary(qsizetype from, QStringView sought) const
    {
        return text().indexOf(sought, from);
    }
    // The units [start, start + length) of the text, clamped to it, without reading the whole text
    // back where the control can.
    virtual QString textRange(qsizetype start, qsizetype length) const { return text().mid(start, length); }
    // Replaces the whole text as one undo step, its line ends as they are.
    virtual void setText(const QString &text) = 0;
    // Replaces the whole text and starts a fresh undo history (a loaded or new document).
    virtual void loadText(const QString &text) = 0;
    // The same for a text given as UTF-8, with its length in UTF-16 units. Controls that keep
    // UTF-8 themselves take the bytes as they are.
    virtual void loadUtf8(const QByteArray &utf8, qsizetype utf16Length)
    {
        Q_UNUSED(utf16Length);
        QString text;
        codec::utf8::decode(utf8, text);
        loadText(text);
    }

    // The same for a text read in blocks, possibly on another thread, while the current text
    // stays: beginLoad gives an empty load, finishLoad makes it the text (UTF-16 length given).
    virtual std::unique_ptr<TextLoad> beginLoad();
    virtual void finishLoad(std::unique_ptr<TextLoad> load, qsizetype utf16Length);

    virtual qsizetype selStart() const = 0;
    virtual qsizetype selLength() const = 0;
    virtual QString selText() const = 0;
    // Replaces the selection as one undo step and leaves the caret after the inserted text, its
    // line ends as they are.
    virtual void setSelText(const QString &text) = 0;
    // Moves the caret there with an empty selection, as the text box's SelStart does.
    virtual void setSelStart(qsizetype start) = 0;
    // Extends the selection from selStart, clamped to the end of the text.
    virtual void setSelLength(qsizetype length) = 0;

    virtual void undo() = 0;

    // The document's line end: what Enter inserts and what the line ends of text pasted or dropped
    // into the control itself become.
    virtual void setLineEnd(codec::LineEnd lineEnd) = 0;
    // setText and setSelText for the result of a conversion of the kind. A control that
    // reports its changes to a recorder reports these as the conversion, not as the changes.
    virtual void setConvertedText(const QString &text, chars::ConversionKind kind)
    {
        Q_UNUSED(kind);
        setText(text);
    }
    virtual void setConvertedSelText(const QString &text, chars::ConversionKind kind)
    {
        Q_UNUSED(kind);
        setSelText(text);
    }
    // setText and setSelText for the result of a replace of every match; a recorder is told the
    // command, not the changes.
    virtual void setReplacedText(const QString &text, const chars::ReplaceCommand &command)
    {
        Q_UNUSED(command);
        setText(text);
    }
    virtual void setReplacedSelText(const QString &text, const chars::ReplaceCommand &command)
    {
        Q_UNUSED(command);
        setSelText(text);
    }
    // Who is told of every change from now on (typed, assigned, undone); null for no one. A load
    // (loadText, loadUtf8) is not reported: it starts a new document.
    virtual void setRecorder(EditRecorder *recorder) { Q_UNUSED(recorder); }

    // Called once after every change of the content (typed, assigned, undone), never when nothing changed.
    virtual void setChangeHandler(std::function<void()> handler) = 0;
};

} // namespace orvane
