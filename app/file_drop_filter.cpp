#include "file_drop_filter.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace orvane {

FileDropFilter::FileDropFilter(std::function<void(const QString &path)> open, QObject *parent)
    : QObject(parent)
    , m_open(std::move(open))
{
}

QString FileDropFilter::firstLocalFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return QString();
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            return QDir::toNativeSeparators(url.toLocalFile());
    }
    return QString();
}

bool FileDropFilter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        break;
    default:
        return QObject::eventFilter(watched, event);
    }
    auto *drop = static_cast<QDropEvent *>(event);
    const QString path = firstLocalFile(drop->mimeData());
    if (path.isEmpty())
        return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() == QEvent::Drop) {
        // Open after the drop has ended: a save prompt inside it would hold the dragging
        // program until it is answered.
        QTimer::singleShot(0, this, [this, path] { m_open(path); });
    }
    return true;
}

} // namespace orvane
