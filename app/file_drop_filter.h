#pragma once
// Takes drops of local files away from the widgets it watches and hands the first file to a
// handler once the drop is over; every other drop (text, remote URLs) goes on as before.

#include <QObject>
#include <QString>

#include <functional>

class QMimeData;

namespace orvane {

class FileDropFilter final : public QObject {
public:
    explicit FileDropFilter(std::function<void(const QString &path)> open, QObject *parent = nullptr);

    // The first local file the data names, or an empty string.
    static QString firstLocalFile(const QMimeData *data);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void(const QString &)> m_open;
};

} // namespace orvane
