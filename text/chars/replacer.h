#pragma once
// Find and replace over a text: a pure function of the text and the command, shared by the editor,
// its journal's replay and the tests. Owns the prepared search and the parsed replacement.

#include "text/chars/instr.h"

#include <QList>
#include <QRegularExpression>
#include <QString>

#include <optional>

namespace orvane::chars {

// What one replace is asked to do, exactly as the journal keeps it.
struct ReplaceCommand {
    QString pattern;
    QString replacement;
    CompareMode compare = CompareMode::Text;
    // The pattern is a regular expression (PCRE2); the replacement then takes $0..$9 and \n.
    bool regularExpression = false;
    // What \n in a regular expression's replacement inserts: the document's line end.
    QString lineEnd = QStringLiteral("\r\n");

    friend bool operator==(const ReplaceCommand &, const ReplaceCommand &) = default;
};

struct ReplaceMatch {
    qsizetype start = -1; // 0-based; -1 when nothing was found
    qsizetype length = 0; // as the match stands in the text
    QString replacement; // what replaces it
    bool found() const { return start >= 0; }
};

struct ReplaceResult {
    QString text; // the new text; empty when nothing was replaced
    qsizetype count = 0;
    qsizetype lastEnd = 0; // the position after the last replacement, in the new text
};

class Replacer {
public:
    explicit Replacer(const ReplaceCommand &command);

    // False for a regular expression that does not compile; nothing is found then.
    bool isValid() const { return !m_regex || m_regex->isValid(); }
    // Why the regular expression does not compile (PCRE2's English text), and where in the
    // pattern as it was given (0-based).
    QString errorText() const;
    qsizetype errorOffset() const;

    // The first match that begins at or after from. An empty pattern finds nothing.
    ReplaceMatch find(const QString &text, qsizetype from) const;
    // Every match from the start, none overlapping, none searched again once replaced. A match
    // never splits a surrogate pair, nor a regular expression's a CR LF.
    ReplaceResult replaceAll(const QString &text) const;

private:
    // A regular expression's replacement: literal runs and the groups between them.
    struct Piece {
        QString literal;
        int group = -1;
    };
    void appendReplacement(QString &out, const QRegularExpressionMatch &match) const;

    ReplaceCommand m_command;
    std::optional<TextFinder> m_textFinder;
    std::optional<QRegularExpression> m_regex;
    // For each unit of the compiled pattern, the unit of the given pattern it came from.
    QList<qsizetype> m_patternOrigin;
    QList<Piece> m_pieces;
};

// The pattern as PCRE2 compiles it: \n outside a character class matches any line end (CR LF, LF
// or CR); inside one it stands for both CR and LF. origin receives, for every unit of the result,
// the unit of pattern it came from.
QString lineEndPattern(QStringView pattern, QList<qsizetype> *origin);

} // namespace orvane::chars
