// The embedded QScintilla as carried: the library's files byte for byte as Debian's source package
// has them, and our patch series applied to them in order giving exactly the tree the build
// compiles.

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString sourceDir = QStringLiteral(QSCINTILLA_SOURCE_DIR);
const QString patchedDir = QStringLiteral(QSCINTILLA_PATCHED_DIR);

QByteArray contents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// Every file under the library's own folders, by its path relative to root.
QStringList libraryFiles(const QString &root)
{
    QStringList files;
    for (const char *folder : {"src", "scintilla"}) {
        QDirIterator it(root + u'/' + QLatin1String(folder), QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(QDir(root).relativeFilePath(it.next()));
    }
    files.sort();
    return files;
}

QStringList seriesInOrder()
{
    return QDir(sourceDir + QStringLiteral("/patches"))
        .entryList({QStringLiteral("*.patch")}, QDir::Files, QDir::Name);
}

} // namespace

class TestPatchSeries : public QObject {
    Q_OBJECT

private slots:
    void libraryFilesAreAsDebianShipsThem();
    void seriesAppliedToPristineFilesGivesTheCompiledTree();
};

// The manifest lists the library's files from the source package; any other file in the library's
// folders is one of ours that belongs outside them, and any changed byte belongs in a patch.
void TestPatchSeries::libraryFilesAreAsDebianShipsThem()
{
    const QList<QByteArray> lines = contents(sourceDir + QStringLiteral("/debian_source.sha256")).split('\n');
    QStringList listed;
    QStringList differing;
    for (const QByteArray &line : lines) {
        if (line.isEmpty())
            continue;
        const QByteArray hash = line.left(64);
        const QString path = QString::fromUtf8(line.mid(66));
        listed.append(path);
        const QByteArray actual
            = QCryptographicHash::hash(contents(sourceDir + u'/' + path), QCryptographicHash::Sha256).toHex();
        if (actual != hash)
            differing.append(path);
    }
    QVERIFY2(listed.size() > 100, "the manifest lists the library's files");
    QVERIFY2(differing.isEmpty(), qPrintable(QStringLiteral("changed: ") + differing.join(u' ')));

    QStringList unlisted;
    for (const QString &path : libraryFiles(sourceDir)) {
        if (!listed.contains(path))
            unlisted.append(path);
    }
    QVERIFY2(unlisted.isEmpty(), qPrintable(QStringLiteral("not Debian's: ") + unlisted.join(u' ')));
}

void TestPatchSeries::seriesAppliedToPristineFilesGivesTheCompiledTree()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QStringList pristine = libraryFiles(sourceDir);
    for (const QString &path : pristine) {
        QVERIFY(QDir(work.path()).mkpath(QFileInfo(path).path()));
        QVERIFY(QFile::copy(sourceDir + u'/' + path, work.filePath(path)));
    }

    const QStringList series = seriesInOrder();
    QVERIFY2(!series.isEmpty(), "the series is found");
    for (const QString &name : series) {
        const QString patch = sourceDir + QStringLiteral("/patches/") + name;
        const QByteArray text = contents(patch);
        QVERIFY2(text.startsWith("Description: ") && text.contains("\nForwarded: not-needed\n"),
                 qPrintable(name + QStringLiteral(" gives its reason in a DEP-3 header")));

        QProcess process;
        process.setWorkingDirectory(work.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(PATCH_EXECUTABLE),
                      {QStringLiteral("-p1"), QStringLiteral("--forward"), QStringLiteral("--batch"),
                       QStringLiteral("--fuzz=0"), QStringLiteral("--no-backup-if-mismatch"),
                       QStringLiteral("--reject-file=-"), QStringLiteral("--input=") + patch});
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                 qPrintable(name + QStringLiteral(" does not apply: ")
                            + QString::fromLocal8Bit(process.readAll())));
    }

    const QStringList applied = libraryFiles(work.path());
    QCOMPARE(libraryFiles(patchedDir), applied);
    QStringList differing;
    for (const QString &path : applied) {
        if (contents(work.filePath(path)) != contents(patchedDir + u'/' + path))
            differing.append(path);
    }
    QVERIFY2(differing.isEmpty(),
             qPrintable(QStringLiteral("compiled tree differs: ") + differing.join(u' ')));
}

QTEST_GUILESS_MAIN(TestPatchSeries)
#include "tst_patch_series.moc"
