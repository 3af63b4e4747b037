#pragma once
// The X11 primary selection of an edit control, offered lazily: a selection change only notes
// the selected byte range, and the text is produced when a program asks for it. Owns nothing
// but a pointer to the offer it handed to the clipboard, which owns and may delete it.

#include <QMimeData>
#include <QPointer>

class QsciScintillaBase;

namespace orvane {

// The offered text: the bytes of a range of the control's document, or a copy of them taken
// before the first edit after the offer, so that it stays what was selected.
class SelectionOffer final : public QMimeData {
public:
    explicit SelectionOffer(QsciScintillaBase *editor)
        : m_editor(editor)
    {
    }

    void offer(qsizetype from, qsizetype to);
    // Keeps the offered bytes before the document changes; once per offer.
    void keepBeforeEdit();

    QStringList formats() const override;
    bool hasFormat(const QString &mimeType) const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    QByteArray bytes() const;

    QPointer<QsciScintillaBase> m_editor;
    qsizetype m_from = 0;
    qsizetype m_to = 0;
    bool m_kept = false;
    QByteArray m_keptBytes;
};

class PrimarySelection {
public:
    explicit PrimarySelection(QsciScintillaBase *editor)
        : m_editor(editor)
    {
    }

    // After the selection changed: offers a non-empty selection; an empty one leaves the last
    // offer standing, as text boxes on X11 do.
    void selectionChanged();
    void beforeEdit();

private:
    QPointer<QsciScintillaBase> m_editor;
    QPointer<SelectionOffer> m_offer;
};

} // namespace orvane
