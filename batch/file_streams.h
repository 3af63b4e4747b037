#pragma once
// The byte sources and sinks of orvane-conv's files: a named file or standard input to read, standard
// output or a file being replaced to write, and a sink that only compares with the file it came from.

#include "byte_stream.h"

#include <QFile>

#include <memory>

namespace orvane::disk {
class FileWriter;
}

namespace orvane::batch {

class FileSource final : public ByteSource {
public:
    // Throws StreamError naming the file when it is missing, a folder or cannot be opened.
    explicit FileSource(const QString &path);
    // Standard input.
    FileSource();
    qsizetype read(char *data, qsizetype capacity) override;

private:
    QFile m_file;
    QString m_path; // empty: standard input
};

// A named input file; one that is missing and whose name looks like a misspelt kind is said to be
// neither.
std::unique_ptr<FileSource> openInputFile(const QString &path);

class StandardOutputSink final : public ByteSink {
public:
    StandardOutputSink();
    void write(QByteArrayView bytes) override;

private:
    QFile m_file;
};

// Passes the bytes to a FileWriter; its errors become StreamErrors.
class WriterSink final : public ByteSink {
public:
    explicit WriterSink(disk::FileWriter &writer)
        : m_writer(writer)
    {
    }
    void write(QByteArrayView bytes) override;

private:
    disk::FileWriter &m_writer;
};

// Compares what is written with the bytes of a file, so that an unchanged file is left alone.
class ComparingSink final : public ByteSink {
public:
    explicit ComparingSink(const QString &path)
        : m_original(path)
    {
    }
    void write(QByteArrayView bytes) override;
    // Everything written so far equals the whole file.
    bool matchesWhole();

private:
    FileSource m_original;
    QByteArray m_buffer;
    bool m_differs = false;
};

} // namespace orvane::batch
