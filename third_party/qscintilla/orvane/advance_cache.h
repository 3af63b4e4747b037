// Orvane: exact text measurement without shaping the same characters again and
// again.  See advance_cache.cpp and README.orvane.

#ifndef ORVANE_QSCINTILLA_ADVANCE_CACHE_H
#define ORVANE_QSCINTILLA_ADVANCE_CACHE_H

class QFont;
class QPaintDevice;

namespace orvane::qscintilla {

// Measures len bytes of UTF-8 as the library's own QTextLayout path would, and
// writes the x position after each character to the positions of its bytes.
// Returns false, having written nothing, when the text holds a character that
// only that path measures exactly (combining marks, variation selectors,
// joiners, characters beyond the BMP, right-to-left and complex scripts,
// control characters, invalid UTF-8).
bool measureWithAdvanceCache(const QFont &font, QPaintDevice *pd, const char *s, int len, float *positions);

} // namespace orvane::qscintilla

#endif
