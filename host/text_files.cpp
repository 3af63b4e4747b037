#include "host/text_files.h"

namespace orvane {

// Gathers the blocks for files that can only take a whole text.
bool TextFiles::saveText(const QString &path, TextBlocks &blocks, codec::TextEncoding encoding,
                         const WriteOptions &options, Progress &progress)
{
    progress.setTotal(blocks.total());
    blocks.rewind();
    QString text;
    for (QStringView block = blocks.next(); !block.isEmpty(); block = blocks.next())
        text += block;
    const QString written = options.lineEnds ? codec::withLineEnds(text, *options.lineEnds) : text;
    WriteOptions whole = options;
    whole.lineEnds.reset();
    writeText(path, written, encoding, whole);
    return written.constData() != text.constData();
}

} // namespace orvane
