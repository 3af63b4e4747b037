#pragma once
// A text's blocks encoded one at a time into the bytes of a file in a document encoding, so that a
// save needs no second copy of the whole text. Owns the bytes of the block last encoded and the
// ISO-2022-JP designation carried from block to block.

#include "host/text_blocks.h"
#include "host/text_files.h"
#include "text/codec/iso2022jp.h"

#include <QByteArray>
#include <QString>

namespace orvane {

class BlockEncoder {
public:
    // path names the file in the descriptions of a refusal. options: the last line end, the file's
    // codes and the line ends to write.
    BlockEncoder(TextBlocks &blocks, codec::TextEncoding encoding, const WriteOptions &options, QString path);

    // The next bytes of the file: its byte-order mark, each block, then what ends the file. False
    // once all are given. A character the encoding cannot store throws DiskError naming it and its
    // line and column in the whole text. The bytes stay valid until the next call.
    bool next(QByteArrayView &bytes);
    // Starts over from the first block, for a second pass over the same text.
    void rewind();

    // How far the blocks have been read, and the whole, for progress.
    qint64 done() const { return m_blocks.done(); }
    qint64 total() const { return m_blocks.total(); }
    // Whether a line end was written otherwise than the text has it.
    bool rewroteLineEnds() const { return m_rewrote; }

private:
    enum class Stage { Mark, Text, End, Done };

    bool encodeBlock(QByteArrayView &bytes);
    QStringView lineEndsRewritten(QStringView text);
    [[noreturn]] void refuse(codec::EncodeError error);

    TextBlocks &m_blocks;
    codec::TextEncoding m_encoding;
    WriteOptions m_options;
    QString m_path;
    // The blocks' own UTF-8 goes into a UTF-8 file as it is, and is encoded to Shift-JIS without a
    // detour through UTF-16.
    bool m_readsUtf8;
    Stage m_stage = Stage::Mark;
    qsizetype m_blockIndex = 0;
    bool m_rewrote = false;
    codec::iso2022jp::Encoder m_jis;
    QString m_rewritten;
    QByteArray m_rewrittenUtf8;
    QByteArray m_bytes;
};

} // namespace orvane
