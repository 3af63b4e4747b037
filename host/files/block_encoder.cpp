#include "host/files/block_encoder.h"

#include "disk/disk_texts.h"
#include "disk/file_errors.h"
#include "text/codec/codec_texts.h"
#include "text/codec/cp932.h"
#include "text/codec/line_ends.h"
#include "text/codec/text_codec.h"
#include "text/codec/text_positions.h"

#include <QSysInfo>

namespace orvane {

namespace {

namespace texts = disk_texts;

bool isUtf8(codec::TextEncoding encoding)
{
    return encoding == codec::TextEncoding::Utf8 || encoding == codec::TextEncoding::Utf8Bom;
}

bool isNativeUtf16(codec::TextEncoding encoding)
{
    return encoding == codec::TextEncoding::Utf16Le && QSysInfo::ByteOrder == QSysInfo::LittleEndian;
}

codec::iso2022jp::Encoder jisEncoder(const WriteOptions &options)
{
    const codec::cp932::FileCodes *codes = options.codes;
    return codec::iso2022jp::Encoder(codes ? codec::iso2022jp::formsIn(*codes) : codec::iso2022jp::Forms(),
                                     codes);
}

} // namespace

BlockEncoder::BlockEncoder(TextBlocks &blocks, codec::TextEncoding encoding, const WriteOptions &options,
                           QString path)
    : m_blocks(blocks)
    , m_encoding(encoding)
    , m_options(options)
    , m_path(std::move(path))
    , m_readsUtf8(blocks.isUtf8() && (isUtf8(encoding) || encoding == codec::TextEncoding::ShiftJis))
    , m_jis(jisEncoder(options))
{
    m_blocks.rewind();
}

void BlockEncoder::rewind()
{
    m_blocks.rewind();
    m_stage = Stage::Mark;
    m_blockIndex = 0;
    m_rewrote = false;
    m_jis = jisEncoder(m_options);
}

bool BlockEncoder::next(QByteArrayView &bytes)
{
    switch (m_stage) {
    case Stage::Mark:
        m_stage = Stage::Text;
        bytes = codec::byteOrderMark(m_encoding);
        if (!bytes.isEmpty())
            return true;
        [[fallthrough]];
    case Stage::Text:
        if (encodeBlock(bytes))
            return true;
        m_stage = Stage::End;
        [[fallthrough]];
    case Stage::End: {
        // ISO-2022-JP goes back to ASCII at the end; then the line end after the last line.
        m_stage = Stage::Done;
        m_bytes.clear();
        if (m_encoding == codec::TextEncoding::Iso2022Jp)
            m_jis.encode(QStringView(), m_bytes, true);
        if (m_options.lastLineEnd) {
            QByteArray lineEnd;
            codec::encode(m_encoding, codec::lineEndText(*m_options.lastLineEnd), lineEnd);
            m_bytes += lineEnd;
        }
        bytes = m_bytes;
        return true;
    }
    case Stage::Done:
        break;
    }
    return false;
}

QStringView BlockEncoder::lineEndsRewritten(QStringView text)
{
    if (!m_options.lineEnds || !codec::withLineEnds(text, *m_options.lineEnds, m_rewritten))
        return text;
    m_rewrote = true;
    return m_rewritten;
}

bool BlockEncoder::encodeBlock(QByteArrayView &bytes)
{
    if (m_readsUtf8) {
        QByteArrayView utf8 = m_blocks.nextUtf8();
        if (utf8.isEmpty())
            return false;
        if (m_options.lineEnds && codec::withLineEnds(utf8, *m_options.lineEnds, m_rewrittenUtf8)) {
            m_rewrote = true;
            utf8 = m_rewrittenUtf8;
        }
        bytes = utf8;
        if (m_encoding == codec::TextEncoding::ShiftJis) {
            codec::EncodeError error;
            if (!codec::cp932::encodeUtf8(utf8, m_bytes, &error, m_options.codes))
                refuse(error);
            bytes = m_bytes;
        }
        ++m_blockIndex;
        return true;
    }
    const QStringView block = m_blocks.next();
    if (block.isEmpty())
        return false;
    const QStringView text = lineEndsRewritten(block);
    codec::EncodeError error;
    if (isNativeUtf16(m_encoding)) {
        // The units are the bytes; only a lone surrogate needs looking for.
        const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
        const qsizetype bad = codec::firstUnpairedSurrogate(units, text.size());
        if (bad < text.size()) {
            error.at = codec::positionOfUnit(units, bad);
            error.codePoint = units[bad];
            refuse(error);
        }
        bytes = QByteArrayView(reinterpret_cast<const char *>(units), text.size() * 2);
    } else {
        bool ok = false;
        if (m_encoding == codec::TextEncoding::Iso2022Jp) {
            m_bytes.clear();
            ok = m_jis.encode(text, m_bytes, false, &error);
        } else {
            ok = codec::encode(m_encoding, text, m_bytes, &error, m_options.codes);
        }
        if (!ok)
            refuse(error);
        bytes = m_bytes;
    }
    ++m_blockIndex;
    return true;
}

void BlockEncoder::refuse(codec::EncodeError error)
{
    // The place in the whole text: the blocks before this one read again, which only a refusal needs.
    // Rewritten line ends keep every line and column where they were.
    const qsizetype failed = m_blockIndex;
    codec::Position start;
    m_blocks.rewind();
    for (qsizetype k = 0; k < failed; ++k)
        codec::advance(start, m_blocks.next());
    error.at = codec::continued(start, error.at);
    const QString name = texts::encodingName(m_encoding);
    if (!codec::isJisBased(m_encoding)) {
        // UTF-8 and UTF-16 store every character, though not a lone surrogate.
        disk::fail(disk::DiskFailure::InvalidFileFormat,
                   texts::unpairedSurrogate(disk::shown(m_path), name,
                                            codec_texts::codePointName(error.codePoint), error.at.line,
                                            error.at.column));
    }
    const codec_texts::UnstorableHints hints {texts::yenHint(), texts::overlineHint(), texts::utf8Hint()};
    disk::fail(disk::DiskFailure::InvalidFileFormat,
               texts::otherWrite(disk::shown(m_path), codec_texts::unstorableIn(name, error, hints)));
}

} // namespace orvane
