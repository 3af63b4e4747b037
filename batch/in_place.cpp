#include "in_place.h"

#include "batch_texts.h"
#include "file_streams.h"

#include "disk/file_writer.h"

#include <QTemporaryFile>

namespace orvane::batch {

namespace {

// Copies a finished conversion into the writer, for a file written in place: its old bytes
// must stay readable until the conversion is complete.
void copyInto(QFile &spool, disk::FileWriter &writer)
{
    writer.reserve(spool.size());
    spool.seek(0);
    QByteArray block(defaultBlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 count = spool.read(block.data(), block.size());
        if (count < 0)
            throw StreamError(batch_texts::cannotWriteTemporary());
        if (count == 0)
            return;
        writer.write(QByteArrayView(block.constData(), count));
    }
}

class SpoolSink final : public ByteSink {
public:
    explicit SpoolSink(QFile &file)
        : m_file(file)
    {
    }
    void write(QByteArrayView bytes) override
    {
        if (m_file.write(bytes.data(), bytes.size()) != bytes.size())
            throw StreamError(batch_texts::cannotWriteTemporary());
    }

private:
    QFile &m_file;
};

} // namespace

bool convertInPlace(const StreamOptions &options, const QString &path, QStringList &errors)
{
    try {
        // A first pass checks the whole file and whether anything changes, before anything is written.
        {
            const std::unique_ptr<FileSource> source = openInputFile(path);
            ComparingSink comparing(path);
            const StreamOutcome checked = convertStream(options, *source, comparing);
            if (checked.exitStatus != ExitStatus::Success) {
                errors.append(checked.exitStatus == ExitStatus::Unconvertible
                                  ? batch_texts::aboutFile(path, checked.error)
                                  : checked.error);
                return false;
            }
            if (comparing.matchesWhole())
                return true;
        }
        disk::FileWriter writer(path);
        FileSource source(path);
        StreamOutcome written;
        if (writer.isInPlace()) {
            QTemporaryFile spool;
            if (!spool.open())
                throw StreamError(batch_texts::cannotWriteTemporary());
            SpoolSink sink(spool);
            written = convertStream(options, source, sink);
            if (written.exitStatus == ExitStatus::Success)
                copyInto(spool, writer);
        } else {
            WriterSink sink(writer);
            written = convertStream(options, source, sink);
        }
        // The file changed between the passes.
        if (written.exitStatus != ExitStatus::Success) {
            errors.append(written.exitStatus == ExitStatus::Unconvertible
                              ? batch_texts::aboutFile(path, written.error)
                              : written.error);
            return false;
        }
        writer.commit();
        return true;
    } catch (const StreamError &error) {
        errors.append(error.message());
    } catch (const disk::DiskError &error) {
        errors.append(error.description);
    }
    return false;
}

} // namespace orvane::batch
