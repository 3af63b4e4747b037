#pragma once
// Files read and written whole by the tests that set up or check what is on disk.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

namespace orvane::test {

// The file's bytes; none when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The file made to hold exactly `bytes`; the running test fails where it cannot be.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace orvane::test
