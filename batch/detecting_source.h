#pragma once
// The input of --from auto: reads ahead of its source to decide the encoding, then gives out the
// bytes it read again before the rest. Owns the bytes read ahead until they are given out.

#include "byte_stream.h"

#include "text/codec/text_encoding.h"

#include <QByteArray>

namespace orvane::batch {

class DetectingSource final : public ByteSource {
public:
    // Decides on the whole input, or on its first lookAhead bytes for a longer one.
    DetectingSource(ByteSource &source, qsizetype lookAhead)
        : m_source(source)
        , m_lookAhead(lookAhead)
    {
    }
    // Open's rule (encoding_detection.h), except that bytes valid as both are Shift-JIS: there is
    // no one to ask.
    codec::TextEncoding detect();
    qsizetype read(char *data, qsizetype capacity) override;

private:
    ByteSource &m_source;
    qsizetype m_lookAhead;
    QByteArray m_ahead;
    qsizetype m_given = 0;
};

} // namespace orvane::batch
