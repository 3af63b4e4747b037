#pragma once
// The encoding of an input given as auto: the editor's Open rules without its question. A byte-
// order mark decides; else UTF-8 when the bytes are UTF-8 with a multi-byte sequence and not
// Shift-JIS; else Shift-JIS (also for text valid as both, such as ﾃｽ = C3 BD).

#include "byte_stream.h"
#include "stream_conversion.h"

#include <QByteArray>

namespace orvane::batch {

// complete: bytes are the whole input, not only its start (which may end inside a character).
TextEncoding detectEncoding(QByteArrayView bytes, bool complete);

// Reads ahead of its source to decide (the whole input, or its first lookAhead bytes for a longer
// one), then gives out those bytes again before the rest.
class DetectingSource final : public ByteSource {
public:
    explicit DetectingSource(ByteSource &source, qsizetype lookAhead = qsizetype(16) << 20)
        : m_source(source)
        , m_lookAhead(lookAhead)
    {
    }
    TextEncoding detect();
    qsizetype read(char *data, qsizetype capacity) override;

private:
    ByteSource &m_source;
    qsizetype m_lookAhead;
    QByteArray m_ahead;
    qsizetype m_given = 0;
};

} // namespace orvane::batch
