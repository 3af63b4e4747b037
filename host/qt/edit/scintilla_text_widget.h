#pragma once
// The QsciScintilla widget of the edit control, set up as a plain text box: its keys, context
// menu and input-method answers. Owns nothing but its menu; positions come from its control.

#include "text_widget_control.h"

#include <Qsci/qsciscintilla.h>

#include <QPointer>

class QMenu;

namespace orvane {

class ScintillaTextWidget final : public QsciScintilla {
public:
    explicit ScintillaTextWidget(QWidget *parent = nullptr);

    void setControl(TextWidgetControl *control) { m_control = control; }
    TextWidgetControl *control() const { return m_control; }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // Selects the whole text, caret at its start, as Scintilla does, but without copying it.
    void selectAllText();

    // The context menu of a Japanese text box, its items enabled for the current state.
    QMenu *createTextBoxMenu(QWidget *parent);

    // What Scintilla keeps per document rather than per editor, for a document just put in place.
    void configureDocument();

protected:
    // Pasted or dropped text is always a stream, also when another Scintilla copied a rectangle.
    // Scintilla itself makes its line ends the document's.
    QByteArray fromMimeData(const QMimeData *source, bool &rectangular) const override;

    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // A plain multi-line text box: no styles, margins, folding or rectangles, and only its keys.
    void configure();
    // Shift with a movement key: the caret moves as without Shift while the anchor stays, so
    // that QScintilla, seeing no selection, does not copy it to the primary selection.
    bool extendSelection(QKeyEvent *event);
    // Shift+click and the drag that follows move the caret here, for the same reason: QScintilla
    // would copy the whole selection on every move and on every tick of its drag timer.
    bool extendSelectionTo(QMouseEvent *event);

    bool m_extendingByMouse = false;

    QPointer<TextWidgetControl> m_control;
};

} // namespace orvane
