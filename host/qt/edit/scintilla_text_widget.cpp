#include "scintilla_text_widget.h"

#include "edit_texts.h"
#include "sci_call.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QWheelEvent>

namespace orvane {

namespace {

using Sci = QsciScintillaBase;

// The current line of the caret, without its line end, as the input method sees it.
struct CaretLine {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype caret = 0;
    qsizetype anchor = 0;
};

CaretLine caretLine(const SciCall &sci)
{
    CaretLine line;
    line.caret = sci(Sci::SCI_GETCURRENTPOS);
    const qsizetype number = sci(Sci::SCI_LINEFROMPOSITION, uintptr_t(line.caret));
    line.start = sci(Sci::SCI_POSITIONFROMLINE, uintptr_t(number));
    line.end = sci(Sci::SCI_GETLINEENDPOSITION, uintptr_t(number));
    line.anchor = std::clamp<qsizetype>(sci(Sci::SCI_GETANCHOR), line.start, line.end);
    return line;
}

QString textRange(const SciCall &sci, qsizetype from, qsizetype to)
{
    if (to <= from)
        return QString();
    return QString::fromUtf8(sci.pointer(Sci::SCI_GETRANGEPOINTER, uintptr_t(from), intptr_t(to - from)),
                             to - from);
}

// Hands on the mouse event with Shift as its only modifier: QScintilla makes Ctrl (and Alt
// elsewhere) draw rectangles or add selections, which a plain text box does not have.
template <typename Handler> void asStreamGesture(QMouseEvent *event, Handler handler)
{
    QMouseEvent stream(event->type(), event->position(), event->scenePosition(), event->globalPosition(),
                       event->button(), event->buttons(), event->modifiers() & Qt::ShiftModifier,
                       event->pointingDevice());
    stream.setTimestamp(event->timestamp());
    handler(&stream);
    event->setAccepted(stream.isAccepted());
}

struct KeyBinding {
    QsciCommand::Command command;
    int key;
    int alternateKey;
};

// The keys of a plain text box. Everything else Scintilla binds (line cut, case changes, zoom,
// line transpose and duplicate …) is left unbound, so those keys reach the window's menu.
constexpr int ctrl = Qt::CTRL;
constexpr int shift = Qt::SHIFT;
constexpr int alt = Qt::ALT;
const KeyBinding textBoxKeys[] = {
    {QsciCommand::LineDown, Qt::Key_Down, 0},
    {QsciCommand::LineDownExtend, Qt::Key_Down | shift, 0},
    {QsciCommand::LineUp, Qt::Key_Up, 0},
    {QsciCommand::LineUpExtend, Qt::Key_Up | shift, 0},
    {QsciCommand::CharLeft, Qt::Key_Left, 0},
    {QsciCommand::CharLeftExtend, Qt::Key_Left | shift, 0},
    {QsciCommand::CharRight, Qt::Key_Right, 0},
    {QsciCommand::CharRightExtend, Qt::Key_Right | shift, 0},
    {QsciCommand::WordLeft, Qt::Key_Left | ctrl, 0},
    {QsciCommand::WordLeftExtend, Qt::Key_Left | ctrl | shift, 0},
    {QsciCommand::WordRight, Qt::Key_Right | ctrl, 0},
    {QsciCommand::WordRightExtend, Qt::Key_Right | ctrl | shift, 0},
    {QsciCommand::Home, Qt::Key_Home, 0},
    {QsciCommand::HomeExtend, Qt::Key_Home | shift, 0},
    {QsciCommand::LineEnd, Qt::Key_End, 0},
    {QsciCommand::LineEndExtend, Qt::Key_End | shift, 0},
    {QsciCommand::DocumentStart, Qt::Key_Home | ctrl, 0},
    {QsciCommand::DocumentStartExtend, Qt::Key_Home | ctrl | shift, 0},
    {QsciCommand::DocumentEnd, Qt::Key_End | ctrl, 0},
    {QsciCommand::DocumentEndExtend, Qt::Key_End | ctrl | shift, 0},
    {QsciCommand::PageUp, Qt::Key_PageUp, 0},
    {QsciCommand::PageUpExtend, Qt::Key_PageUp | shift, 0},
    {QsciCommand::PageDown, Qt::Key_PageDown, 0},
    {QsciCommand::PageDownExtend, Qt::Key_PageDown | shift, 0},
    {QsciCommand::Delete, Qt::Key_Delete, 0},
    {QsciCommand::DeleteBack, Qt::Key_Backspace, Qt::Key_Backspace | shift},
    {QsciCommand::Newline, Qt::Key_Return, Qt::Key_Return | shift},
    {QsciCommand::SelectAll, Qt::Key_A | ctrl, 0},
    {QsciCommand::Undo, Qt::Key_Z | ctrl, Qt::Key_Backspace | alt},
    {QsciCommand::Redo, Qt::Key_Y | ctrl, 0},
    {QsciCommand::SelectionCut, Qt::Key_X | ctrl, Qt::Key_Delete | shift},
    {QsciCommand::SelectionCopy, Qt::Key_C | ctrl, Qt::Key_Insert | ctrl},
    {QsciCommand::Paste, Qt::Key_V | ctrl, Qt::Key_Insert | shift},
};

} // namespace

ScintillaTextWidget::ScintillaTextWidget(QWidget *parent)
    : QsciScintilla(parent)
{
    configure();
}

void ScintillaTextWidget::configureDocument()
{
    setUtf8(true);
    setTabWidth(8);
    setIndentationsUseTabs(true);
}

void ScintillaTextWidget::configure()
{
    const SciCall sci(this);

    // A document without style bytes: a plain text needs none, and it halves the memory.
    const intptr_t document = sci(Sci::SCI_CREATEDOCUMENT, 0, Sci::SC_DOCUMENTOPTION_STYLES_NONE);
    sci(Sci::SCI_SETDOCPOINTER, 0, document);
    sci(Sci::SCI_RELEASEDOCUMENT, 0, document);

    configureDocument();
    setEolMode(QsciScintilla::EolWindows);
    sci(Sci::SCI_SETPASTECONVERTENDINGS, 1);
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    sci(Sci::SCI_STYLECLEARALL);
    for (int margin = 0; margin < 5; ++margin)
        setMarginWidth(margin, 0);
    setFolding(QsciScintilla::NoFoldStyle);
    setWrapMode(QsciScintilla::WrapNone);
    setAutoIndent(false);
    setBraceMatching(QsciScintilla::NoBraceMatch);
    setAutoCompletionSource(QsciScintilla::AcsNone);
    sci(Sci::SCI_USEPOPUP, Sci::SC_POPUP_NEVER);
    // One stream selection only, whatever the gesture: what is highlighted is what commands see.
    sci(Sci::SCI_SETMULTIPLESELECTION, 0);
    sci(Sci::SCI_SETADDITIONALSELECTIONTYPING, 0);
    sci(Sci::SCI_SETMOUSESELECTIONRECTANGULARSWITCH, 0);
    sci(Sci::SCI_SETLAYOUTCACHE, Sci::SC_CACHE_PAGE);
    sci(Sci::SCI_SETSCROLLWIDTH, 1);
    sci(Sci::SCI_SETSCROLLWIDTHTRACKING, 1);

    // The selection keeps the text box's colours, also while another window has the focus.
    const QPalette colours = palette();
    setSelectionBackgroundColor(colours.color(QPalette::Active, QPalette::Highlight));
    setSelectionForegroundColor(colours.color(QPalette::Active, QPalette::HighlightedText));

    // Only the before-edit events: the after-edit ones make QScintilla's accessibility hook
    // count characters from the start of the document on every edit. The marks of undo steps
    // tell the recorder when a conversion is undone or redone.
    sci(Sci::SCI_SETMODEVENTMASK,
        Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE | Sci::SC_MOD_CONTAINER);

    QsciCommandSet *commands = standardCommands();
    commands->clearKeys();
    commands->clearAlternateKeys();
    sci(Sci::SCI_CLEARALLCMDKEYS);
    for (const KeyBinding &binding : textBoxKeys) {
        QsciCommand *command = commands->find(binding.command);
        command->setKey(binding.key);
        if (binding.alternateKey)
            command->setAlternateKey(binding.alternateKey);
    }

    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

bool ScintillaTextWidget::event(QEvent *event)
{
    TextWidgetControl::ChangeBatch batch(m_control);
    return QsciScintilla::event(event);
}

bool ScintillaTextWidget::viewportEvent(QEvent *event)
{
    TextWidgetControl::ChangeBatch batch(m_control);
    return QsciScintilla::viewportEvent(event);
}

bool ScintillaTextWidget::extendSelection(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (!(modifiers & Qt::ShiftModifier) || (modifiers & (Qt::AltModifier | Qt::MetaModifier)))
        return false;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        break;
    default:
        return false;
    }
    const SciCall sci(this);
    const intptr_t anchor = sci(SCI_GETANCHOR);
    sci(SCI_SETSELECTIONNANCHOR, 0, sci(SCI_GETCURRENTPOS));
    QKeyEvent move(event->type(), event->key(), modifiers & ~Qt::ShiftModifier, event->nativeScanCode(),
                   event->nativeVirtualKey(), event->nativeModifiers(), QString(), event->isAutoRepeat(),
                   quint16(event->count()));
    QsciScintilla::keyPressEvent(&move);
    sci(SCI_SETSELECTIONNANCHOR, 0, anchor);
    event->accept();
    if (m_control)
        m_control->offerSelection();
    return true;
}

void ScintillaTextWidget::selectAllText()
{
    const SciCall sci(this);
    sci(SCI_SETSELECTIONNCARET, 0, intptr_t(0));
    sci(SCI_SETSELECTIONNANCHOR, 0, sci(SCI_GETLENGTH));
    if (m_control)
        m_control->offerSelection();
}

void ScintillaTextWidget::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = modifiers & (Qt::ControlModifier | Qt::MetaModifier);
    const bool alt = modifiers & Qt::AltModifier;
    if (extendSelection(event))
        return;
    if (event->key() == Qt::Key_A && (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        selectAllText();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Tab && !control && !alt) {
        // A text box puts a tab in place of the selection; Scintilla would indent lines.
        SendScintilla(SCI_REPLACESEL, "\t");
        event->accept();
        return;
    }
    if (control != alt) {
        // A Ctrl or Alt chord without a binding of its own types nothing, as in a text box.
        // Ctrl+Alt stays a character: it is AltGr on Windows.
        QKeyEvent stripped(event->type(), event->key(), modifiers, event->nativeScanCode(),
                           event->nativeVirtualKey(), event->nativeModifiers(), QString(),
                           event->isAutoRepeat(), quint16(event->count()));
        QsciScintilla::keyPressEvent(&stripped);
        event->setAccepted(stripped.isAccepted());
        return;
    }
    QsciScintilla::keyPressEvent(event);
}

void ScintillaTextWidget::wheelEvent(QWheelEvent *event)
{
    // No zoom: the text box keeps its font size.
    if (event->modifiers() & Qt::ControlModifier) {
        event->accept();
        return;
    }
    QsciScintilla::wheelEvent(event);
}

bool ScintillaTextWidget::extendSelectionTo(QMouseEvent *event)
{
    const SciCall sci(this);
    const QPoint at = event->position().toPoint();
    sci(SCI_SETSELECTIONNCARET, 0, sci(SCI_POSITIONFROMPOINT, uintptr_t(at.x()), intptr_t(at.y())));
    sci(SCI_SCROLLCARET);
    sci(SCI_CHOOSECARETX);
    event->accept();
    if (m_control)
        m_control->offerSelection();
    return true;
}

void ScintillaTextWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier)) {
        setFocus(Qt::MouseFocusReason);
        m_extendingByMouse = extendSelectionTo(event);
        return;
    }
    asStreamGesture(event, [this](QMouseEvent *stream) { QsciScintilla::mousePressEvent(stream); });
}

void ScintillaTextWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (m_extendingByMouse && (event->buttons() & Qt::LeftButton)) {
        extendSelectionTo(event);
        return;
    }
    asStreamGesture(event, [this](QMouseEvent *stream) { QsciScintilla::mouseMoveEvent(stream); });
}

void ScintillaTextWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_extendingByMouse && event->button() == Qt::LeftButton) {
        m_extendingByMouse = false;
        event->accept();
        return;
    }
    asStreamGesture(event, [this](QMouseEvent *stream) { QsciScintilla::mouseReleaseEvent(stream); });
}

void ScintillaTextWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    asStreamGesture(event, [this](QMouseEvent *stream) { QsciScintilla::mouseDoubleClickEvent(stream); });
}

QByteArray ScintillaTextWidget::fromMimeData(const QMimeData *source, bool &rectangular) const
{
    QByteArray text = QsciScintilla::fromMimeData(source, rectangular);
    rectangular = false;
    return text;
}

QMenu *ScintillaTextWidget::createTextBoxMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    const bool writable = !isReadOnly();
    const long length = SendScintilla(SCI_GETLENGTH);
    const long selStart = SendScintilla(SCI_GETSELECTIONSTART);
    const long selEnd = SendScintilla(SCI_GETSELECTIONEND);
    const bool hasSelection = selEnd > selStart;

    auto add = [this, menu](const QString &caption, bool enabled, unsigned int message) {
        QAction *action = menu->addAction(caption);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, message] {
            TextWidgetControl::ChangeBatch batch(m_control);
            SendScintilla(message);
        });
    };
    add(edit_texts::undo(), writable && SendScintilla(SCI_CANUNDO), SCI_UNDO);
    menu->addSeparator();
    add(edit_texts::cut(), writable && hasSelection, SCI_CUT);
    add(edit_texts::copy(), hasSelection, SCI_COPY);
    const QMimeData *clipboard = QApplication::clipboard()->mimeData();
    add(edit_texts::paste(), writable && clipboard && clipboard->hasText(), SCI_PASTE);
    add(edit_texts::erase(), writable && hasSelection, SCI_CLEAR);
    menu->addSeparator();
    QAction *selectAll = menu->addAction(edit_texts::selectAll());
    selectAll->setEnabled(length > 0 && (selStart > 0 || selEnd < length));
    connect(selectAll, &QAction::triggered, this, &ScintillaTextWidget::selectAllText);
    return menu;
}

void ScintillaTextWidget::contextMenuEvent(QContextMenuEvent *event)
{
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const long caret = SendScintilla(SCI_GETCURRENTPOS);
        const QPoint local(
            int(SendScintilla(SCI_POINTXFROMPOSITION, 0, caret)),
            int(SendScintilla(SCI_POINTYFROMPOSITION, 0, caret) + SendScintilla(SCI_TEXTHEIGHT, 0)));
        at = viewport()->mapToGlobal(local);
    }
    QMenu *menu = createTextBoxMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
    event->accept();
}

QVariant ScintillaTextWidget::inputMethodQuery(Qt::InputMethodQuery query) const
{
    // QScintilla answers with the whole paragraph, which is the whole document when it has
    // no blank line; the input method needs only the caret's line.
    const SciCall sci(this);
    switch (query) {
    case Qt::ImSurroundingText: {
        const CaretLine line = caretLine(sci);
        return textRange(sci, line.start, line.end);
    }
    case Qt::ImCursorPosition: {
        const CaretLine line = caretLine(sci);
        return textRange(sci, line.start, std::min(line.caret, line.end)).size();
    }
    case Qt::ImAnchorPosition: {
        const CaretLine line = caretLine(sci);
        return textRange(sci, line.start, line.anchor).size();
    }
    case Qt::ImCurrentSelection: {
        const CaretLine line = caretLine(sci);
        return textRange(sci, std::min(line.caret, line.anchor),
                         std::max(std::min(line.caret, line.end), line.anchor));
    }
    case Qt::ImTextBeforeCursor: {
        const CaretLine line = caretLine(sci);
        return textRange(sci, line.start, std::min(line.caret, line.end));
    }
    case Qt::ImTextAfterCursor: {
        const CaretLine line = caretLine(sci);
        return textRange(sci, std::min(line.caret, line.end), line.end);
    }
    case Qt::ImAbsolutePosition:
        if (m_control)
            return m_control->utf16FromByte(sci(Sci::SCI_GETCURRENTPOS));
        return QVariant();
    case Qt::ImMaximumTextLength:
        return QVariant();
    default:
        return QsciScintilla::inputMethodQuery(query);
    }
}

} // namespace orvane
