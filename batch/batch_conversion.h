#pragma once
// orvane-conv without its process: argument parsing and the run over standard input, files or
// files replaced in place, so that tests run it directly. Nothing here touches the console.

#include "byte_stream.h"
#include "stream_conversion.h"

#include "text/chars/conversion_kind.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace orvane::batch {

struct BatchArguments {
    Encoding from = Encoding::Cp932;
    Encoding to = Encoding::Cp932;
    QList<ConversionKind> kinds; // applied in this order
    std::optional<LineEnd> lineEnd; // --line-end; none: line ends kept
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

std::optional<ConversionKind> kindFromName(QStringView name);
std::optional<LineEnd> lineEndFromName(QStringView name); // crlf, lf, cr

// Where a run reads standard input from and writes standard output to.
struct BatchStreams {
    std::function<std::unique_ptr<ByteSource>()> openStandardInput;
    ByteSink &standardOutput;
    qsizetype blockSize = kDefaultBlockSize;
};

// The whole run. Without -i the inputs are converted one after the other into standard output;
// a failing input is reported and the others go on. With -i each file is replaced by its
// converted text, except where that does not change it or fails; a failing file stays as it was.
// Each message goes to errors (for standard error, without the program's name, with the file's).
int runBatch(const QStringList &arguments, const BatchStreams &streams, QStringList &errors);

struct BatchResult {
    QByteArray output; // for standard output
    QString error; // for standard error, without the program's name; lines joined by LF
    int exitStatus = Success;
};

// The run in memory: standard input from readStandardInput (nothing: it cannot be read).
BatchResult runBatch(const QStringList &arguments,
                     const std::function<std::optional<QByteArray>()> &readStandardInput);

// One input in memory.
BatchResult convertBytes(const BatchArguments &arguments, QByteArrayView input);

} // namespace orvane::batch
