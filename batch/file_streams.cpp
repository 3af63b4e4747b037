#include "file_streams.h"

#include "batch_arguments.h"
#include "batch_texts.h"

#include "disk/disk_texts.h"
#include "disk/file_errors.h"
#include "disk/file_writer.h"

#include <QFileInfo>

#include <cstdio>
#include <cstring>

namespace orvane::batch {

FileSource::FileSource(const QString &path)
    : m_file(path)
    , m_path(path)
{
    const QFileInfo info(path);
    const QString shown = disk::shown(path);
    if (!info.exists())
        throw StreamError(disk_texts::notFound(shown));
    if (info.isDir())
        throw StreamError(disk_texts::isFolderRead(shown));
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        const bool denied = m_file.error() == QFileDevice::PermissionsError;
        throw StreamError(denied ? disk_texts::accessDeniedRead(shown)
                                 : disk_texts::otherRead(shown, m_file.errorString()));
    }
}

FileSource::FileSource()
{
    if (!m_file.open(fileno(stdin), QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw StreamError(batch_texts::cannotReadStandardInput());
}

qsizetype FileSource::read(char *data, qsizetype capacity)
{
    const qint64 count = m_file.read(data, capacity);
    if (count < 0) {
        throw StreamError(m_path.isEmpty()
                              ? batch_texts::cannotReadStandardInput()
                              : disk_texts::otherRead(disk::shown(m_path), m_file.errorString()));
    }
    return qsizetype(count);
}

StandardOutputSink::StandardOutputSink()
{
    if (!m_file.open(fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw StreamError(batch_texts::cannotWriteStandardOutput());
}

void StandardOutputSink::write(QByteArrayView bytes)
{
    if (m_file.write(bytes.data(), bytes.size()) != bytes.size())
        throw StreamError(batch_texts::cannotWriteStandardOutput());
}

void WriterSink::write(QByteArrayView bytes)
{
    try {
        m_writer.write(bytes);
    } catch (const disk::DiskError &error) {
        throw StreamError(error.description);
    }
}

void ComparingSink::write(QByteArrayView bytes)
{
    if (m_differs)
        return;
    if (m_buffer.size() < bytes.size())
        m_buffer.resize(bytes.size());
    qsizetype have = 0;
    while (have < bytes.size()) {
        const qsizetype count = m_original.read(m_buffer.data() + have, bytes.size() - have);
        if (count == 0)
            break;
        have += count;
    }
    m_differs = have < bytes.size() || std::memcmp(m_buffer.constData(), bytes.data(), size_t(have)) != 0;
}

bool ComparingSink::matchesWhole()
{
    char extra;
    return !m_differs && m_original.read(&extra, 1) == 0;
}

std::unique_ptr<FileSource> openInputFile(const QString &path)
{
    if (!QFileInfo::exists(path) && looksLikeKindName(path))
        throw StreamError(batch_texts::neitherKindNorFile(path));
    return std::make_unique<FileSource>(path);
}

} // namespace orvane::batch
