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
void advance(TextPosition &at, QStringView text);

// The position of a place given relative to a piece that starts at base.
inline TextPosition offsetBy(TextPosition base, qsizetype line, qsizetype column)
{
    if (line == 1)
        return {base.line, base.column + column - 1};
    return {base.line + line - 1, column};
}

} // namespace orvane::batch
