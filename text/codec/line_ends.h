#pragma once
// The line ends a document's file may use, and the few rules every reader and writer of files
// shares about them: a line ends at CR LF, a lone LF or a lone CR, and each keeps its own.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace orvane::codec {

enum class LineEnd { CrLf, Lf, Cr };

inline constexpr LineEnd allLineEnds[] = {LineEnd::CrLf, LineEnd::Lf, LineEnd::Cr};

// A document's own line end (what Enter inserts, what pasted line ends become) and the one after
// its last line, which the text does not hold: none when the file ended without one.
struct LineEnds {
    LineEnd document = LineEnd::CrLf;
    std::optional<LineEnd> last = LineEnd::CrLf;
    friend bool operator==(const LineEnds &, const LineEnds &) = default;
};

inline QStringView lineEndText(LineEnd lineEnd)
{
    switch (lineEnd) {
    case LineEnd::Lf:
        return u"\n";
    case LineEnd::Cr:
        return u"\r";
    case LineEnd::CrLf:
        break;
    }
    return u"\r\n";
}

// Removes the line end after the last line from the bytes (Shift-JIS or UTF-8, where CR and LF
// are never part of a longer sequence) or the text, and says which line ends the file used: its
// first for the document, CR LF when it has none.
LineEnds takeLastLineEnd(QByteArray &bytes);
LineEnds takeLastLineEnd(QString &text);

// Every line end of the text written as lineEnd; the text itself when it has no other kind.
QString withLineEnds(const QString &text, LineEnd lineEnd);
// The same into out, for a piece of a longer text that does not end between CR and LF (UTF-16, or
// bytes of an encoding where CR and LF are never part of a longer sequence). False, out untouched,
// when the piece has no other kind.
bool withLineEnds(QStringView text, LineEnd lineEnd, QString &out);
bool withLineEnds(QByteArrayView bytes, LineEnd lineEnd, QByteArray &out);

} // namespace orvane::codec
