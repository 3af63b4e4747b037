#pragma once
// Line and column of a place in a long text that arrives in pieces, counted as the code page's
// decoder counts them: lines end at CR LF, lone CR or lone LF, columns count characters.

#include <QStringView>

namespace orvane::batch {

struct TextPosition {
    qsizetype line = 1;
    qsizetype column = 1;
};

// Moves at past text. A piece never ends between CR and LF or inside a surrogate pair.
inline void advance(TextPosition &at, QStringView text)
{
    qsizetype lines = 0;
    qsizetype lineStart = -1;
    char16_t previous = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' || c == u'\n') {
            lines += !(c == u'\n' && previous == u'\r');
            lineStart = i + 1;
        }
        previous = c;
    }
    qsizetype columns = 0;
    for (qsizetype i = lineStart < 0 ? 0 : lineStart; i < text.size(); ++i)
        columns += !text[i].isLowSurrogate();
    if (lineStart >= 0) {
        at.line += lines;
        at.column = 1 + columns;
    } else {
        at.column += columns;
    }
}

// The position of a place given relative to a piece that starts at base.
inline TextPosition offsetBy(TextPosition base, qsizetype line, qsizetype column)
{
    if (line == 1)
        return { base.line, base.column + column - 1 };
    return { base.line + line - 1, column };
}

} // namespace orvane::batch
