#pragma once
// The byte source and sink that the streaming converter reads from and writes to, so that it runs
// the same over files, pipes and memory.

#include <QByteArrayView>
#include <QString>

#include <exception>

namespace orvane::batch {

// A source or sink that cannot go on; message is Japanese and names what failed.
class StreamError : public std::exception {
public:
    explicit StreamError(QString message)
        : m_message(std::move(message))
    {
    }
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return "orvane::batch::StreamError"; }

private:
    QString m_message;
};

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads at most capacity bytes into data; returns how many, 0 only at the end. Throws
    // StreamError when the source cannot be read.
    virtual qsizetype read(char *data, qsizetype capacity) = 0;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Takes all of bytes or throws StreamError.
    virtual void write(QByteArrayView bytes) = 0;
};

} // namespace orvane::batch
