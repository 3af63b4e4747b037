#include "qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace orvane {

QString QtClipboard::getText() const { return QGuiApplication::clipboard()->text(QClipboard::Clipboard); }

void QtClipboard::setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

} // namespace orvane
