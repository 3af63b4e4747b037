#include "scintilla_edit_control.h"

#include "primary_selection.h"
#include "sci_call.h"
#include "scintilla_accessible.h"
#include "scintilla_text_widget.h"
#include "utf16_index.h"

#include "text/codec/line_ends.h"
#include "text/codec/utf8.h"

#include <QAccessible>
#include <QMetaObject>
#include <QScopedValueRollback>

#include <algorithm>
#include <cstring>
#include <functional>

namespace orvane {

namespace {

using Sci = QsciScintillaBase;

// The document's UTF-8 as text. QString::fromUtf8 would drop a U+FEFF at the start, which here
// is a character of the text.
QString documentText(QByteArrayView bytes)
{
    QString text;
    codec::utf8::decode(bytes, text);
    return text;
}

bool isContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

} // namespace

ScintillaEditControl::ScintillaEditControl(QWidget *parent)
    : TextWidgetControl(parent)
{
    ScintillaAccessible::install();
    m_widget = new ScintillaTextWidget(parent);
    m_widget->setControl(this);
    m_index = std::make_unique<Utf16Index>(SciCall(m_widget));
    m_primary = std::make_unique<PrimarySelection>(m_widget);
    // QScintilla copies a selection that it makes itself to the primary selection at once; the
    // offer replaces that copy, and the gestures that can make large selections avoid it.
    connect(m_widget, &QsciScintilla::selectionChanged, this, &ScintillaEditControl::offerSelection);
    connect(m_widget, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char *, int length, int, int, int, int, int token, int) {
                onModified(position, type, length, token);
            });
    connect(m_widget, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int) { onUpdateUi(); });
}

ScintillaEditControl::~ScintillaEditControl()
{
    if (!m_widget)
        return;
    m_widget->setControl(nullptr);
    disconnect(m_widget, nullptr, this, nullptr);
    if (!m_widget->parent())
        delete m_widget;
}

QsciScintilla *ScintillaEditControl::widget() const { return m_widget; }

void ScintillaEditControl::onModified(int position, int type, int length, int token)
{
    // Any notification comes after the insert noted before it has been made.
    flushInsert();
    const bool recording = m_recorder && !m_loading;
    if (type & Sci::SC_MOD_CONTAINER) {
        if (recording && (type & (Sci::SC_PERFORMED_UNDO | Sci::SC_PERFORMED_REDO)))
            m_recorder->stepMark(token, type & Sci::SC_PERFORMED_REDO);
        return;
    }
    if (type & Sci::SC_MOD_BEFOREINSERT) {
        m_index->beforeInsert(position, length);
        // QScintilla passes no text with this event: the recorder gets the inserted bytes from
        // the document once they are in, at the next notification or when the change is reported.
        if (recording)
            m_pendingInsert = {position, length};
    } else if (type & Sci::SC_MOD_BEFOREDELETE) {
        m_index->beforeDelete(position, length);
        if (recording)
            m_recorder->deleting(position, length);
    } else {
        return;
    }
    m_primary->beforeEdit();
    m_changed = true;
    if (m_batchDepth == 0 && !m_notifyQueued) {
        // A change outside any event or call of ours: report it once control returns.
        m_notifyQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                flushInsert();
                m_notifyQueued = false;
                ++m_batchDepth;
                endBatch();
            },
            Qt::QueuedConnection);
    }
}

void ScintillaEditControl::flushInsert()
{
    if (!m_pendingInsert)
        return;
    const auto [position, length] = *m_pendingInsert;
    m_pendingInsert.reset();
    if (!m_recorder || !m_widget)
        return;
    // The inserted bytes end at the gap, so reading them moves nothing.
    const char *bytes
        = SciCall {m_widget}.pointer(Sci::SCI_GETRANGEPOINTER, uintptr_t(position), intptr_t(length));
    m_recorder->inserting(position, QByteArrayView(bytes, length));
}

void ScintillaEditControl::endBatch()
{
    flushInsert();
    if (--m_batchDepth > 0 || !m_changed)
        return;
    m_changed = false;
    if (QAccessible::isActive() && m_widget) {
        QAccessibleTextUpdateEvent event(m_widget, 0, QString(), QString());
        QAccessible::updateAccessibility(&event);
    }
    if (m_changeHandler)
        m_changeHandler();
}

void ScintillaEditControl::onUpdateUi()
{
    if (!QAccessible::isActive())
        return;
    const qsizetype caret = utf16FromByte(SciCall {m_widget}(Sci::SCI_GETCURRENTPOS));
    if (caret == m_lastAccessibleCaret)
        return;
    m_lastAccessibleCaret = caret;
    QAccessibleTextCursorEvent event(m_widget, int(caret));
    QAccessible::updateAccessibility(&event);
}

qsizetype ScintillaEditControl::utf16FromByte(qsizetype byte) const { return m_index->toUtf16(byte); }

qsizetype ScintillaEditControl::byteFromUtf16(qsizetype unit) const { return m_index->toByte(unit); }

qsizetype ScintillaEditControl::utf16Length() const { return m_index->length(); }

void ScintillaEditControl::offerSelection() { m_primary->selectionChanged(); }

QString ScintillaEditControl::text() const
{
    const SciCall sci(m_widget);
    const qsizetype length = sci(Sci::SCI_GETLENGTH);
    return documentText(QByteArrayView(sci.pointer(Sci::SCI_GETCHARACTERPOINTER), length));
}

std::unique_ptr<TextBlocks> ScintillaEditControl::readBlocks() const
{
    // Closing the gap would copy the text after it; the parts on either side are read as they lie.
    const SciCall sci(m_widget);
    const qsizetype length = sci(Sci::SCI_GETLENGTH);
    const qsizetype gap = std::clamp<qsizetype>(sci(Sci::SCI_GETGAPPOSITION), 0, length);
    const char *before = gap > 0 ? sci.pointer(Sci::SCI_GETRANGEPOINTER, 0, intptr_t(gap)) : nullptr;
    const char *after = gap < length
        ? sci.pointer(Sci::SCI_GETRANGEPOINTER, uintptr_t(gap), intptr_t(length - gap))
        : nullptr;
    return std::make_unique<Utf8Blocks>(QByteArrayView(before, gap), QByteArrayView(after, length - gap));
}

QByteArray ScintillaEditControl::utf8Text() const
{
    const SciCall sci(m_widget);
    const qsizetype length = sci(Sci::SCI_GETLENGTH);
    return QByteArray(sci.pointer(Sci::SCI_GETCHARACTERPOINTER), length);
}

qsizetype ScintillaEditControl::textLength() const { return utf16Length(); }

qsizetype ScintillaEditControl::findBinary(qsizetype from, QStringView sought) const
{
    from = std::max<qsizetype>(from, 0);
    if (from > utf16Length())
        return -1;
    if (sought.isEmpty())
        return from;
    // A lone surrogate has no UTF-8 form, so it cannot occur in the document.
    if (!sought.isValidUtf16())
        return -1;
    const QByteArray needle = sought.toUtf8();

    const SciCall sci(m_widget);
    const qsizetype length = sci(Sci::SCI_GETLENGTH);
    qsizetype start = byteFromUtf16(from);
    // `from` inside a surrogate pair: the pair itself begins before it, so start after the pair.
    if (start < length && utf16FromByte(start) < from)
        start += 4;
    if (needle.size() > length - start)
        return -1;
    const char *haystack = sci.pointer(Sci::SCI_GETRANGEPOINTER, uintptr_t(start), intptr_t(length - start));
    const char *end = haystack + (length - start);
    // Both sides are valid UTF-8, which is self-synchronising: a byte match begins on a character.
    const char *found = std::search(
        haystack, end, std::boyer_moore_horspool_searcher(needle.constBegin(), needle.constEnd()));
    if (found == end)
        return -1;
    return utf16FromByte(start + (found - haystack));
}

void ScintillaEditControl::replaceBytes(qsizetype start, qsizetype end, const QByteArray &bytes)
{
    const SciCall sci(m_widget);
    sci(Sci::SCI_BEGINUNDOACTION);
    sci(Sci::SCI_SETTARGETRANGE, uintptr_t(start), intptr_t(end));
    sci(Sci::SCI_REPLACETARGET, uintptr_t(bytes.size()), bytes.constData());
    sci(Sci::SCI_ENDUNDOACTION);
}

void ScintillaEditControl::setText(const QString &text)
{
    ChangeBatch batch(this);
    const SciCall sci(m_widget);
    const QByteArray next = text.toUtf8();
    const qsizetype length = sci(Sci::SCI_GETLENGTH);
    const char *current = sci.pointer(Sci::SCI_GETCHARACTERPOINTER);

    // Replace only the middle that differs, so that a conversion touching a few characters
    // does not rewrite (and keep an undo copy of) the whole document.
    const qsizetype shorter = std::min<qsizetype>(length, next.size());
    qsizetype prefix = std::mismatch(current, current + shorter, next.constData()).first - current;
    while (prefix > 0 && prefix < shorter && isContinuation(next[prefix]))
        --prefix;
    qsizetype suffix = 0;
    const qsizetype maxSuffix = shorter - prefix;
    while (suffix < maxSuffix && current[length - 1 - suffix] == next[next.size() - 1 - suffix])
        ++suffix;
    while (suffix > 0 && isContinuation(next[next.size() - suffix]))
        --suffix;

    if (prefix + suffix != length || prefix + suffix != next.size())
        replaceBytes(prefix, length - suffix, next.mid(prefix, next.size() - prefix - suffix));
    sci(Sci::SCI_GOTOPOS, 0);
}

void ScintillaEditControl::loadText(const QString &text) { loadUtf8(text.toUtf8(), text.size()); }

void ScintillaEditControl::loadUtf8(const QByteArray &next, qsizetype utf16Length)
{
    ChangeBatch batch(this);
    const SciCall sci(m_widget);
    const qsizetype length = sci(Sci::SCI_GETLENGTH);
    const bool same = length == next.size()
        && std::memcmp(sci.pointer(Sci::SCI_GETCHARACTERPOINTER), next.constData(), size_t(length)) == 0;
    if (!same) {
        const QScopedValueRollback loading(m_loading, true);
        // A loaded document starts a fresh history, so the load itself keeps no undo copy.
        sci(Sci::SCI_SETUNDOCOLLECTION, 0);
        sci(Sci::SCI_CLEARALL);
        // Room for typing: without it the first keys stall while the buffer grows.
        sci(Sci::SCI_ALLOCATE, uintptr_t(next.size() + next.size() / 8));
        sci(Sci::SCI_ADDTEXT, uintptr_t(next.size()), next.constData());
        sci(Sci::SCI_SETUNDOCOLLECTION, 1);
        m_index->noteLength(utf16Length);
    }
    sci(Sci::SCI_EMPTYUNDOBUFFER);
    sci(Sci::SCI_SETSAVEPOINT);
    sci(Sci::SCI_GOTOPOS, 0);
}

qsizetype ScintillaEditControl::selStart() const
{
    return utf16FromByte(SciCall {m_widget}(Sci::SCI_GETSELECTIONSTART));
}

qsizetype ScintillaEditControl::selLength() const
{
    const SciCall sci(m_widget);
    const qsizetype start = sci(Sci::SCI_GETSELECTIONSTART);
    const qsizetype end = sci(Sci::SCI_GETSELECTIONEND);
    if (end <= start)
        return 0;
    return utf16FromByte(end) - utf16FromByte(start);
}

QString ScintillaEditControl::selText() const
{
    const SciCall sci(m_widget);
    const qsizetype start = sci(Sci::SCI_GETSELECTIONSTART);
    const qsizetype end = sci(Sci::SCI_GETSELECTIONEND);
    if (end <= start)
        return QString();
    return documentText(QByteArrayView(
        sci.pointer(Sci::SCI_GETRANGEPOINTER, uintptr_t(start), intptr_t(end - start)), end - start));
}

void ScintillaEditControl::setSelText(const QString &text)
{
    ChangeBatch batch(this);
    const SciCall sci(m_widget);
    const QByteArray bytes = text.toUtf8();
    const qsizetype start = sci(Sci::SCI_GETSELECTIONSTART);
    const qsizetype end = sci(Sci::SCI_GETSELECTIONEND);
    const bool same = end - start == bytes.size()
        && std::memcmp(sci.pointer(Sci::SCI_GETRANGEPOINTER, uintptr_t(start), intptr_t(end - start)),
                       bytes.constData(), size_t(bytes.size()))
            == 0;
    if (!same)
        replaceBytes(start, end, bytes);
    sci(Sci::SCI_GOTOPOS, uintptr_t(start + bytes.size()));
}

void ScintillaEditControl::setSelStart(qsizetype start)
{
    SciCall {m_widget}(Sci::SCI_GOTOPOS, uintptr_t(byteFromUtf16(start)));
}

void ScintillaEditControl::setSelLength(qsizetype length)
{
    const SciCall sci(m_widget);
    const qsizetype start = sci(Sci::SCI_GETSELECTIONSTART);
    const qsizetype end = length > 0 ? byteFromUtf16(utf16FromByte(start) + length) : start;
    // As SCI_SETSEL does, but the anchor is set apart so that QScintilla copies nothing.
    sci(Sci::SCI_GOTOPOS, uintptr_t(end));
    sci(Sci::SCI_SETSELECTIONNANCHOR, 0, intptr_t(start));
    offerSelection();
}

void ScintillaEditControl::undo()
{
    ChangeBatch batch(this);
    SciCall {m_widget}(Sci::SCI_UNDO);
}

void ScintillaEditControl::setLineEnd(codec::LineEnd lineEnd)
{
    switch (lineEnd) {
    case codec::LineEnd::CrLf:
        m_widget->setEolMode(QsciScintilla::EolWindows);
        break;
    case codec::LineEnd::Lf:
        m_widget->setEolMode(QsciScintilla::EolUnix);
        break;
    case codec::LineEnd::Cr:
        m_widget->setEolMode(QsciScintilla::EolMac);
        break;
    }
}

void ScintillaEditControl::recordConversion(chars::ConversionKind kind, bool wholeText,
                                            const std::function<void()> &replace)
{
    recordStep([&] { return m_recorder->conversionBegins(kind, wholeText); }, replace);
}

void ScintillaEditControl::recordStep(const std::function<qint32()> &begin,
                                      const std::function<void()> &replace)
{
    if (!m_recorder) {
        replace();
        return;
    }
    const SciCall sci(m_widget);
    const qint32 mark = begin();
    // The mark at both ends of the step: undo meets one first, redo the other, and either way
    // the recorder sees where the step begins and ends.
    sci(Sci::SCI_BEGINUNDOACTION);
    sci(Sci::SCI_ADDUNDOACTION, uintptr_t(mark), intptr_t(0));
    replace();
    flushInsert();
    sci(Sci::SCI_ADDUNDOACTION, uintptr_t(mark), intptr_t(0));
    sci(Sci::SCI_ENDUNDOACTION);
    m_recorder->conversionEnds();
}

void ScintillaEditControl::setConvertedText(const QString &text, chars::ConversionKind kind)
{
    recordConversion(kind, true, [&] { setText(text); });
}

void ScintillaEditControl::setConvertedSelText(const QString &text, chars::ConversionKind kind)
{
    recordConversion(kind, false, [&] { setSelText(text); });
}

void ScintillaEditControl::setReplacedText(const QString &text, const chars::ReplaceCommand &command)
{
    recordStep([&] { return m_recorder->replacementBegins(command, true); }, [&] { setText(text); });
}

void ScintillaEditControl::setReplacedSelText(const QString &text, const chars::ReplaceCommand &command)
{
    recordStep([&] { return m_recorder->replacementBegins(command, false); }, [&] { setSelText(text); });
}

QString ScintillaEditControl::textRange(qsizetype start, qsizetype length) const
{
    const SciCall sci(m_widget);
    const qsizetype total = utf16Length();
    start = std::clamp<qsizetype>(start, 0, total);
    length = std::clamp<qsizetype>(length, 0, total - start);
    const qsizetype from = byteFromUtf16(start);
    const qsizetype to = byteFromUtf16(start + length);
    return documentText(QByteArrayView(
        sci.pointer(Sci::SCI_GETRANGEPOINTER, uintptr_t(from), intptr_t(to - from)), to - from));
}

void ScintillaEditControl::setRecorder(EditRecorder *recorder) { m_recorder = recorder; }

void ScintillaEditControl::setChangeHandler(std::function<void()> handler)
{
    m_changeHandler = std::move(handler);
}

} // namespace orvane
