#pragma once
// orvane-conv without its process: argument parsing and the bytes-to-bytes conversion, so that
// tests run it directly. Nothing here writes to the console.

#include "conversion_kind.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace orvane::batch {

enum class Encoding { Cp932, Utf8 };

// The process's exit status.
enum ExitStatus : int {
    Success = 0,
    Unconvertible = 1, // bytes invalid in the source encoding, or a character the target cannot store
    UsageError = 2, // unknown option or kind, a missing or unreadable file, a folder
};

struct BatchArguments {
    Encoding from = Encoding::Cp932;
    Encoding to = Encoding::Cp932;
    QList<ConversionKind> kinds; // applied in this order
    QString file; // empty: standard input
    bool showHelp = false;
};

struct ParsedArguments {
    BatchArguments arguments;
    QString error; // empty when the arguments are usable
};

struct BatchResult {
    QByteArray output; // for standard output; empty whenever error is set
    QString error; // for standard error, without the program's name
    int exitStatus = Success;
};

// Reads the arguments after the program's name. The last word that is not a kind is the file;
// "-" is standard input and "--" makes the next word the file whatever it looks like.
ParsedArguments parseArguments(const QStringList &arguments);

std::optional<ConversionKind> kindFromName(QStringView name);

// Decodes, converts and encodes; fails as a whole, so nothing is output for a bad input.
// A leading UTF-8 byte-order mark is dropped from UTF-8 input; UTF-8 output never has one.
BatchResult convertBytes(const BatchArguments &arguments, QByteArrayView input);

// The whole run: parses, reads the file (or calls readStandardInput, which returns nothing when
// standard input cannot be read), converts.
BatchResult runBatch(
    const QStringList &arguments, const std::function<std::optional<QByteArray>()> &readStandardInput);

} // namespace orvane::batch
