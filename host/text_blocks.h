#pragma once
// A text handed out block by block, for a save that encodes and writes it a block at a time rather
// than copying it whole: read in place from a string, or from an edit control's own UTF-8 buffer.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace orvane {

// The most a block holds: UTF-16 units, or bytes of UTF-8.
inline constexpr qsizetype textBlockSize = qsizetype(1) << 20;

// Reads a text in blocks that each end after a whole character and never between CR and LF, so
// that each block encodes, and has its line ends rewritten, on its own. The text must stay as it
// is while it is read (a save's modal progress keeps it so). Made on the text's own thread, then
// read on any one thread.
class TextBlocks {
public:
    virtual ~TextBlocks() = default;
    // How much of the text the blocks so far held, and the whole, in the blocks' own units.
    virtual qint64 done() const = 0;
    virtual qint64 total() const = 0;
    // The next block; empty once all of the text has been read. Valid until the next call.
    virtual QStringView next() = 0;
    // For a text kept as UTF-8: the same blocks in its own UTF-8, which a UTF-8 file takes as they
    // are. A reading uses either next or nextUtf8 throughout.
    virtual bool isUtf8() const { return false; }
    virtual QByteArrayView nextUtf8() { return {}; }
    // Starts the reading over, for a second pass.
    virtual void rewind() = 0;
};

// The blocks of a string, which it shares rather than copies.
class StringBlocks final : public TextBlocks {
public:
    explicit StringBlocks(QString text)
        : m_text(std::move(text))
    {
    }
    qint64 done() const override { return m_done; }
    qint64 total() const override { return m_text.size(); }
    QStringView next() override;
    void rewind() override { m_done = 0; }

private:
    QString m_text;
    qsizetype m_done = 0;
};

// The blocks of UTF-8 held in two parts (an edit buffer on both sides of its gap), read where it
// lies. Owns only the copy of a block that spans both parts, and the UTF-16 of the last block.
class Utf8Blocks final : public TextBlocks {
public:
    Utf8Blocks(QByteArrayView before, QByteArrayView after);
    qint64 done() const override { return m_done; }
    qint64 total() const override { return m_before.size() + m_after.size(); }
    QStringView next() override;
    bool isUtf8() const override { return true; }
    QByteArrayView nextUtf8() override;
    void rewind() override { m_done = 0; }

private:
    QByteArrayView m_before;
    QByteArrayView m_after;
    qsizetype m_done = 0;
    QByteArray m_joined;
    QString m_utf16;
};

} // namespace orvane
