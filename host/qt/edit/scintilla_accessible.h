#pragma once
// The accessibility interface of the edit control: text, caret and selection in UTF-16 units
// answered from the control's position index, so no query counts the document from its start.
// Owns nothing; it reads the widget and its control.

#include <QAccessibleWidget>

namespace orvane {

class ScintillaTextWidget;

class ScintillaAccessible final : public QAccessibleWidget,
                                  public QAccessibleTextInterface,
                                  public QAccessibleEditableTextInterface {
public:
    explicit ScintillaAccessible(ScintillaTextWidget *widget);

    // Installs the factory that gives every edit control widget this interface.
    static void install();

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    ScintillaTextWidget *textWidget() const;
    qsizetype byteAt(int offset) const;
    int offsetOf(qsizetype byte) const;
    // The line around an offset: its first offset and its text with the line end.
    QString lineAt(int offset, int *lineStart) const;
};

} // namespace orvane
