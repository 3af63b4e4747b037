#pragma once
// orvane-conv's command line: options anywhere, kinds, then files.

#include "text/chars/conversion_kind.h"
#include "text/codec/line_ends.h"
#include "text/codec/text_encoding.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace orvane::batch {

struct BatchArguments {
    std::optional<codec::TextEncoding> from = codec::TextEncoding::ShiftJis; // nothing: auto
    codec::TextEncoding to = codec::TextEncoding::ShiftJis;
    QList<chars::ConversionKind> kinds; // applied in this order
    std::optional<codec::LineEnd> lineEnd; // --line-end; none: line ends kept
    QStringList files; // "-" is standard input; none: standard input
    bool inPlace = false;
    bool showHelp = false;
    bool showVersion = false;
};

struct ParsedArguments {
    BatchArguments arguments;
    QString error; // empty when the arguments are usable
};

// Reads the arguments after the program's name: options anywhere, kinds, then files. "--" makes
// every word after it a file whatever it looks like.
ParsedArguments parseArguments(const QStringList &arguments);

std::optional<chars::ConversionKind> kindFromName(QStringView name);
std::optional<codec::LineEnd> lineEndFromName(QStringView name); // crlf, lf, cr

// A word that can only have been meant as a kind, not as a file name.
bool looksLikeKindName(const QString &word);

} // namespace orvane::batch
