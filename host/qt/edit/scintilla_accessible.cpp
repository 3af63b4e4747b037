#include "scintilla_accessible.h"

#include "sci_call.h"
#include "scintilla_text_widget.h"

#include <QTextBoundaryFinder>

namespace orvane {

namespace {

using Sci = QsciScintillaBase;

QAccessibleInterface *factory(const QString &, QObject *object)
{
    if (auto *widget = dynamic_cast<ScintillaTextWidget *>(object))
        return new ScintillaAccessible(widget);
    return nullptr;
}

QTextBoundaryFinder::BoundaryType finderType(QAccessible::TextBoundaryType type)
{
    switch (type) {
    case QAccessible::WordBoundary:
        return QTextBoundaryFinder::Word;
    case QAccessible::SentenceBoundary:
        return QTextBoundaryFinder::Sentence;
    default:
        return QTextBoundaryFinder::Grapheme;
    }
}

} // namespace

ScintillaAccessible::ScintillaAccessible(ScintillaTextWidget *widget)
    : QAccessibleWidget(widget, QAccessible::EditableText)
{
}

void ScintillaAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

ScintillaTextWidget *ScintillaAccessible::textWidget() const
{
    return static_cast<ScintillaTextWidget *>(widget());
}

qsizetype ScintillaAccessible::byteAt(int offset) const
{
    TextWidgetControl *control = textWidget()->control();
    return control ? control->byteFromUtf16(offset) : 0;
}

int ScintillaAccessible::offsetOf(qsizetype byte) const
{
    TextWidgetControl *control = textWidget()->control();
    return control ? int(control->utf16FromByte(byte)) : 0;
}

void *ScintillaAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State ScintillaAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.selectableText = true;
    state.multiLine = true;
    state.editable = !textWidget()->isReadOnly();
    state.readOnly = textWidget()->isReadOnly();
    return state;
}

void ScintillaAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    const SciCall sci(textWidget());
    const qsizetype start = sci(Sci::SCI_GETSELECTIONSTART);
    const qsizetype end = sci(Sci::SCI_GETSELECTIONEND);
    if (selectionIndex != 0 || start == end)
        return;
    *startOffset = offsetOf(start);
    *endOffset = offsetOf(end);
}

int ScintillaAccessible::selectionCount() const
{
    const SciCall sci(textWidget());
    return sci(Sci::SCI_GETSELECTIONSTART) != sci(Sci::SCI_GETSELECTIONEND) ? 1 : 0;
}

void ScintillaAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void ScintillaAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    const SciCall sci(textWidget());
    sci(Sci::SCI_SETEMPTYSELECTION, uintptr_t(sci(Sci::SCI_GETCURRENTPOS)));
}

void ScintillaAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    const SciCall sci(textWidget());
    sci(Sci::SCI_SETSEL, uintptr_t(byteAt(startOffset)), intptr_t(byteAt(endOffset)));
}

int ScintillaAccessible::cursorPosition() const
{
    const SciCall sci(textWidget());
    return offsetOf(sci(Sci::SCI_GETCURRENTPOS));
}

void ScintillaAccessible::setCursorPosition(int position)
{
    const SciCall sci(textWidget());
    sci(Sci::SCI_GOTOPOS, uintptr_t(byteAt(position)));
}

QString ScintillaAccessible::text(int startOffset, int endOffset) const
{
    const qsizetype start = byteAt(startOffset);
    const qsizetype end = byteAt(endOffset);
    if (end <= start)
        return QString();
    const SciCall sci(textWidget());
    return QString::fromUtf8(sci.pointer(Sci::SCI_GETRANGEPOINTER, uintptr_t(start), intptr_t(end - start)),
                             end - start);
}

QString ScintillaAccessible::lineAt(int offset, int *lineStart) const
{
    const SciCall sci(textWidget());
    const qsizetype line = sci(Sci::SCI_LINEFROMPOSITION, uintptr_t(byteAt(offset)));
    const qsizetype start = sci(Sci::SCI_POSITIONFROMLINE, uintptr_t(line));
    const qsizetype end = sci(Sci::SCI_POSITIONFROMLINE, uintptr_t(line + 1));
    *lineStart = offsetOf(start);
    if (end <= start)
        return QString();
    return QString::fromUtf8(sci.pointer(Sci::SCI_GETRANGEPOINTER, uintptr_t(start), intptr_t(end - start)),
                             end - start);
}

QString ScintillaAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                          int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (boundaryType == QAccessible::NoBoundary) {
        *startOffset = 0;
        *endOffset = characterCount();
        return text(0, *endOffset);
    }
    // Every boundary is looked for within the line, so no query reads the whole document.
    int lineStart = 0;
    const QString line = lineAt(offset, &lineStart);
    if (boundaryType == QAccessible::LineBoundary || boundaryType == QAccessible::ParagraphBoundary) {
        *startOffset = lineStart;
        *endOffset = lineStart + int(line.size());
        return line;
    }
    if (line.isEmpty())
        return QString();
    QTextBoundaryFinder finder(finderType(boundaryType), line);
    const int local = std::clamp(offset - lineStart, 0, int(line.size()) - 1);
    finder.setPosition(local);
    const int start = finder.isAtBoundary() ? local : int(finder.toPreviousBoundary());
    finder.setPosition(local);
    const int end = int(finder.toNextBoundary());
    *startOffset = lineStart + std::max(start, 0);
    *endOffset = lineStart + (end < 0 ? int(line.size()) : end);
    return line.mid(*startOffset - lineStart, *endOffset - *startOffset);
}

QString ScintillaAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                              int *startOffset, int *endOffset) const
{
    int start = 0;
    int end = 0;
    textAtOffset(offset, boundaryType, &start, &end);
    if (start <= 0) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    return textAtOffset(start - 1, boundaryType, startOffset, endOffset);
}

QString ScintillaAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int *startOffset, int *endOffset) const
{
    int start = 0;
    int end = 0;
    textAtOffset(offset, boundaryType, &start, &end);
    if (end < 0 || end >= characterCount()) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    return textAtOffset(end, boundaryType, startOffset, endOffset);
}

int ScintillaAccessible::characterCount() const
{
    TextWidgetControl *control = textWidget()->control();
    return control ? int(control->utf16Length()) : 0;
}

QRect ScintillaAccessible::characterRect(int offset) const
{
    const SciCall sci(textWidget());
    const qsizetype byte = byteAt(offset);
    const qsizetype next = sci(Sci::SCI_POSITIONAFTER, uintptr_t(byte));
    const int x = int(sci(Sci::SCI_POINTXFROMPOSITION, 0, intptr_t(byte)));
    const int y = int(sci(Sci::SCI_POINTYFROMPOSITION, 0, intptr_t(byte)));
    const int right = next > byte ? int(sci(Sci::SCI_POINTXFROMPOSITION, 0, intptr_t(next))) : x + 1;
    const int height
        = int(sci(Sci::SCI_TEXTHEIGHT, uintptr_t(sci(Sci::SCI_LINEFROMPOSITION, uintptr_t(byte)))));
    QRect rect(x, y, std::max(right - x, 1), height);
    rect.moveTo(textWidget()->viewport()->mapToGlobal(rect.topLeft()));
    return rect;
}

int ScintillaAccessible::offsetAtPoint(const QPoint &point) const
{
    const SciCall sci(textWidget());
    const QPoint local = textWidget()->viewport()->mapFromGlobal(point);
    const qsizetype byte = sci(Sci::SCI_POSITIONFROMPOINTCLOSE, uintptr_t(local.x()), intptr_t(local.y()));
    return byte < 0 ? -1 : offsetOf(byte);
}

void ScintillaAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    const SciCall sci(textWidget());
    sci(Sci::SCI_SCROLLRANGE, uintptr_t(byteAt(endIndex)), intptr_t(byteAt(startIndex)));
}

QString ScintillaAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    // One plain style: the whole text shares its attributes.
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

void ScintillaAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void ScintillaAccessible::insertText(int offset, const QString &text) { replaceText(offset, offset, text); }

void ScintillaAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    TextWidgetControl *control = textWidget()->control();
    if (!control || textWidget()->isReadOnly())
        return;
    control->setSelStart(startOffset);
    control->setSelLength(endOffset - startOffset);
    control->setSelText(text);
}

} // namespace orvane
