#include "primary_selection.h"

#include "sci_call.h"

#include <QApplication>
#include <QClipboard>

#include <algorithm>

namespace orvane {

namespace {

const QString plainText = QStringLiteral("text/plain");

} // namespace

void SelectionOffer::offer(qsizetype from, qsizetype to)
{
    m_from = from;
    m_to = to;
    m_kept = false;
    m_keptBytes = QByteArray();
}

void SelectionOffer::keepBeforeEdit()
{
    if (m_kept)
        return;
    m_keptBytes = bytes();
    m_kept = true;
}

QByteArray SelectionOffer::bytes() const
{
    if (m_kept)
        return m_keptBytes;
    if (!m_editor)
        return QByteArray();
    const SciCall sci(m_editor);
    const qsizetype length = sci(QsciScintillaBase::SCI_GETLENGTH);
    const qsizetype from = std::clamp<qsizetype>(m_from, 0, length);
    const qsizetype to = std::clamp<qsizetype>(m_to, from, length);
    return QByteArray(
        sci.pointer(QsciScintillaBase::SCI_GETRANGEPOINTER, uintptr_t(from), intptr_t(to - from)), to - from);
}

QStringList SelectionOffer::formats() const { return {plainText}; }

bool SelectionOffer::hasFormat(const QString &mimeType) const { return mimeType == plainText; }

QVariant SelectionOffer::retrieveData(const QString &mimeType, QMetaType type) const
{
    if (mimeType != plainText)
        return QVariant();
    if (type.id() == QMetaType::QByteArray)
        return bytes();
    return QString::fromUtf8(bytes());
}

void PrimarySelection::selectionChanged()
{
    QClipboard *clipboard = QApplication::clipboard();
    if (!m_editor || !clipboard || !clipboard->supportsSelection())
        return;
    const SciCall sci(m_editor);
    const qsizetype from = sci(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const qsizetype to = sci(QsciScintillaBase::SCI_GETSELECTIONEND);
    if (from == to)
        return;
    // The clipboard deletes the offer when another program, or QScintilla, takes the selection;
    // the comparison covers platforms that might keep it a while longer.
    if (m_offer && clipboard->mimeData(QClipboard::Selection) == m_offer) {
        m_offer->offer(from, to);
        return;
    }
    auto *offer = new SelectionOffer(m_editor);
    offer->offer(from, to);
    m_offer = offer;
    clipboard->setMimeData(offer, QClipboard::Selection);
}

void PrimarySelection::beforeEdit()
{
    if (m_offer)
        m_offer->keepBeforeEdit();
}

} // namespace orvane
