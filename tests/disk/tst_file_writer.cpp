// The file writer's in-place path against real files: a write that fails or dies half-way, and a
// writer dropped before its commit. Run where the in-place path is taken: a file with another hard
// link (its copy goes beside it) and a file in a folder the user may not write (its copy goes to
// the cache folder).

#include "tests/files/test_files.h"

#include "disk/disk_texts.h"
#include "disk/file_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace orvane::disk;
using namespace orvane::test;
namespace texts = orvane::disk_texts;

namespace {

const QByteArray kOld = QByteArray("old line\r\n").repeated(1000);
const QByteArray kBlock(16 * 1024, 'n');

QByteArray errorText(const std::function<void()> &call)
{
    try {
        call();
    } catch (const DiskError &error) {
        return error.description.toUtf8();
    }
    return "written";
}

} // namespace

class TestFileWriter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void writeFailingHalfWayPutsOldBytesBack_data() { places(); }
    void writeFailingHalfWayPutsOldBytesBack();
    void writerKilledHalfWayLeavesOldBytesInCopy_data() { places(); }
    void writerKilledHalfWayLeavesOldBytesInCopy();
    void writeThatCannotBeUndoneNamesTheCopy_data() { places(); }
    void writeThatCannotBeUndoneNamesTheCopy();
    void noPlaceForTheCopyRefusesTheSave();
    void uncommittedWriterLeavesFileAsItWas_data();
    void uncommittedWriterLeavesFileAsItWas();

private:
    void places()
    {
        QTest::addColumn<bool>("lockedFolder");
        QTest::newRow("several hard links") << false;
        QTest::newRow("folder we may not write") << true;
    }
    // The file the tests write, holding kOld, and where its copy goes.
    QString prepare(bool lockedFolder);
    QString copyFolder(bool lockedFolder) const
    {
        return lockedFolder ? m_cache.filePath(QStringLiteral("orvane/backups")) : m_folder;
    }
    QStringList copies(bool lockedFolder) const
    {
        return QDir(copyFolder(lockedFolder))
            .entryList({QStringLiteral("*.bak")}, QDir::Files | QDir::Hidden);
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_cache;
    QString m_folder;
    QStringList m_names;
};

void TestFileWriter::initTestCase()
{
    QVERIFY(m_dir.isValid() && m_cache.isValid());
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
    // The unprivileged child must reach both folders.
    if (runningAsRoot())
        QVERIFY(::chown(QFile::encodeName(m_cache.path()).constData(), unprivilegedUid(), unprivilegedGid())
                == 0);
    QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7755)));
    m_folder = m_dir.filePath(QStringLiteral("folder"));
}

void TestFileWriter::init() { QVERIFY(QDir().mkpath(m_folder)); }

void TestFileWriter::cleanup()
{
    QFile::setPermissions(m_folder, QFileDevice::Permissions(0x7755));
    QDir(m_folder).removeRecursively();
    QDir(m_cache.path()).removeRecursively();
    QDir().mkpath(m_cache.path());
    if (runningAsRoot())
        QVERIFY(::chown(QFile::encodeName(m_cache.path()).constData(), unprivilegedUid(), unprivilegedGid())
                == 0);
}

QString TestFileWriter::prepare(bool lockedFolder)
{
    const QString file = m_folder + QStringLiteral("/a.txt");
    writeFileBytes(file, kOld);
    if (lockedFolder) {
        QFile::setPermissions(file, QFileDevice::Permissions(0x6666));
        QFile::setPermissions(m_folder, QFileDevice::Permissions(0x7555));
    } else {
        const QByteArray other = QFile::encodeName(m_folder + QStringLiteral("/b.txt"));
        if (::link(QFile::encodeName(file).constData(), other.constData()) != 0)
            qFatal("cannot make the hard link");
    }
    m_names = folderEntries(m_folder);
    return file;
}

void TestFileWriter::writeFailingHalfWayPutsOldBytesBack()
{
    QFETCH(bool, lockedFolder);
    const QString file = prepare(lockedFolder);

    // No reservation: the limit stops the writes themselves, after the old bytes are overwritten.
    const ChildResult child = runInChild(
        [&] {
            limitFileSize(64 * 1024);
            return errorText([&] {
                FileWriter writer(file);
                for (int i = 0; i < 64; ++i)
                    writer.write(kBlock);
                writer.commit();
            });
        },
        lockedFolder);
    if (child.skipped)
        QSKIP("cannot become an unprivileged user");
    QVERIFY(child.exitedNormally);
    QCOMPARE(QString::fromUtf8(child.output), texts::diskFull(file));
    QCOMPARE(fileBytes(file), kOld);
    QCOMPARE(folderEntries(m_folder), m_names);
    QCOMPARE(copies(lockedFolder), QStringList());
}

void TestFileWriter::writerKilledHalfWayLeavesOldBytesInCopy()
{
    QFETCH(bool, lockedFolder);
    const QString file = prepare(lockedFolder);

    const ChildResult child = killInChildWhenReady(
        [&](const std::function<void()> &ready) {
            FileWriter writer(file);
            writer.write(kBlock);
            ready();
        },
        lockedFolder);
    if (child.skipped)
        QSKIP("cannot become an unprivileged user");
    QVERIFY(child.exitedNormally);
    QVERIFY(fileBytes(file).startsWith(kBlock));
    const QStringList left = copies(lockedFolder);
    QCOMPARE(left.size(), 1);
    QVERIFY(left.first().startsWith(QStringLiteral("a.txt.")));
    QCOMPARE(fileBytes(copyFolder(lockedFolder) + u'/' + left.first()), kOld);
}

void TestFileWriter::writeThatCannotBeUndoneNamesTheCopy()
{
    QFETCH(bool, lockedFolder);
    const QString file = prepare(lockedFolder);

    // The limit comes after the copy is made and lies inside the old bytes, so putting them back
    // fails as the write did.
    const ChildResult child = runInChild(
        [&] {
            return errorText([&] {
                FileWriter writer(file);
                limitFileSize(4096);
                writer.write(kBlock);
            });
        },
        lockedFolder);
    if (child.skipped)
        QSKIP("cannot become an unprivileged user");
    QVERIFY(child.exitedNormally);
    const QStringList left = copies(lockedFolder);
    QCOMPARE(left.size(), 1);
    const QString copy = copyFolder(lockedFolder) + u'/' + left.first();
    QCOMPARE(QString::fromUtf8(child.output), texts::diskFull(file) + texts::backupKept(copy));
    QCOMPARE(fileBytes(copy), kOld);
}

void TestFileWriter::noPlaceForTheCopyRefusesTheSave()
{
    const QString file = prepare(true);
    const QString nowhere = m_dir.filePath(QStringLiteral("nowhere"));
    QVERIFY(QDir().mkpath(nowhere));
    QVERIFY(QFile::setPermissions(nowhere, QFileDevice::Permissions(0x5555)));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(nowhere));
    qputenv("TMPDIR", QFile::encodeName(nowhere));

    const ChildResult child = runInChild([&] { return errorText([&] { FileWriter writer(file); }); }, true);
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
    qunsetenv("TMPDIR");
    if (child.skipped)
        QSKIP("cannot become an unprivileged user");
    QVERIFY(child.exitedNormally);
    QCOMPARE(QString::fromUtf8(child.output), texts::backupFailed(file, texts::backupAccessDenied()));
    QCOMPARE(fileBytes(file), kOld);
    QCOMPARE(folderEntries(nowhere), QStringList());
}

void TestFileWriter::uncommittedWriterLeavesFileAsItWas_data()
{
    QTest::addColumn<QString>("place");
    for (const char *place : {"new file", "replaced file", "several hard links", "folder we may not write"})
        QTest::newRow(place) << QString::fromLatin1(place);
}

void TestFileWriter::uncommittedWriterLeavesFileAsItWas()
{
    QFETCH(QString, place);
    const bool lockedFolder = place == u"folder we may not write";
    const QString file = place == u"new file" ? m_folder + QStringLiteral("/new.txt")
        : place == u"replaced file"
        ? (writeFileBytes(m_folder + QStringLiteral("/a.txt"), kOld), m_folder + QStringLiteral("/a.txt"))
        : prepare(lockedFolder);
    const QStringList names = folderEntries(m_folder);

    const ChildResult child = runInChild(
        [&] {
            return errorText([&] {
                FileWriter writer(file);
                writer.reserve(kBlock.size() * 4);
                writer.write(kBlock);
            });
        },
        lockedFolder);
    if (child.skipped)
        QSKIP("cannot become an unprivileged user");
    QVERIFY(child.exitedNormally);
    QCOMPARE(child.output, QByteArray("written"));
    QCOMPARE(folderEntries(m_folder), names);
    if (place != u"new file")
        QCOMPARE(fileBytes(file), kOld);
    QCOMPARE(copies(lockedFolder), QStringList());
}

QTEST_GUILESS_MAIN(TestFileWriter)
#include "tst_file_writer.moc"
