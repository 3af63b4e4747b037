#pragma once
// The document's edit control on QScintilla, set up as a plain multi-line text box whose positions
// are UTF-16 code units. Owns the widget when it has no parent; owns the change handler.

#include "text_widget_control.h"

#include <QPointer>

#include <optional>

class QsciScintilla;
class QWidget;

namespace orvane {

class PrimarySelection;
class ScintillaTextWidget;
class Utf16Index;

class ScintillaEditControl final : public TextWidgetControl {
    Q_OBJECT
public:
    explicit ScintillaEditControl(QWidget *parent = nullptr);
    ~ScintillaEditControl() override;

    // The widget that goes into the main window's client area.
    QsciScintilla *widget() const;

    QString text() const override;
    // The document's UTF-8 where it lies, on both sides of the buffer's gap, which is not moved.
    std::unique_ptr<TextBlocks> readBlocks() const override;
    qsizetype textLength() const override;
    // Searches the document's UTF-8 bytes in place rather than reading the text back.
    qsizetype findBinary(qsizetype from, QStringView sought) const override;
    void setText(const QString &text) override;
    void loadText(const QString &text) override;
    // Hands the bytes to Scintilla as they are, without a detour through UTF-16.
    void loadUtf8(const QByteArray &utf8, qsizetype utf16Length) override;
    // Loads into a Scintilla document of its own, which then replaces the current one.
    std::unique_ptr<TextLoad> beginLoad() override;
    void finishLoad(std::unique_ptr<TextLoad> load, qsizetype utf16Length) override;

    qsizetype selStart() const override;
    qsizetype selLength() const override;
    QString selText() const override;
    void setSelText(const QString &text) override;
    void setSelStart(qsizetype start) override;
    void setSelLength(qsizetype length) override;

    void undo() override;
    // Scintilla's end-of-line mode: Enter, and its own paste and drop, use it.
    void setLineEnd(codec::LineEnd lineEnd) override;

    void setConvertedText(const QString &text, chars::ConversionKind kind) override;
    void setConvertedSelText(const QString &text, chars::ConversionKind kind) override;
    void setReplacedText(const QString &text, const chars::ReplaceCommand &command) override;
    void setReplacedSelText(const QString &text, const chars::ReplaceCommand &command) override;
    QString textRange(qsizetype start, qsizetype length) const override;
    void setRecorder(EditRecorder *recorder) override;

    void setChangeHandler(std::function<void()> handler) override;

    qsizetype utf16FromByte(qsizetype byte) const override;
    qsizetype byteFromUtf16(qsizetype unit) const override;
    qsizetype utf16Length() const override;
    // The whole text as the control holds it, in UTF-8.
    QByteArray utf8Text() const;

    void offerSelection() override;

protected:
    void beginBatch() override { ++m_batchDepth; }
    void endBatch() override;

private:
    void onModified(int position, int type, int length, int token);
    // Hands the recorder the bytes of the insert noted last, now that they are in the document.
    void flushInsert();
    // Runs replace as one undo step marked for the recorder as the conversion kind.
    void recordConversion(chars::ConversionKind kind, bool wholeText, const std::function<void()> &replace);
    // The same for a step that begin announces to the recorder and whose mark it returns.
    void recordStep(const std::function<qint32()> &begin, const std::function<void()> &replace);
    void onUpdateUi();
    void replaceBytes(qsizetype start, qsizetype end, const QByteArray &bytes);

    QPointer<ScintillaTextWidget> m_widget;
    std::unique_ptr<Utf16Index> m_index;
    std::unique_ptr<PrimarySelection> m_primary;
    std::function<void()> m_changeHandler;
    EditRecorder *m_recorder = nullptr;
    bool m_loading = false;
    std::optional<std::pair<qsizetype, qsizetype>> m_pendingInsert;
    int m_batchDepth = 0;
    bool m_changed = false;
    bool m_notifyQueued = false;
    qsizetype m_lastAccessibleCaret = -1;
};

} // namespace orvane
