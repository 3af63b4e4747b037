#pragma once
// orvane-conv without its process: the run over standard input, files or files replaced in place,
// so that tests run it directly. Nothing here touches the console.

#include "batch_arguments.h"
#include "byte_stream.h"
#include "stream_conversion.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace orvane::batch {

// Where a run reads standard input from and writes standard output to.
struct BatchStreams {
    std::function<std::unique_ptr<ByteSource>()> openStandardInput;
    ByteSink &standardOutput;
    qsizetype blockSize = defaultBlockSize;
};

// The whole run. Without -i the inputs are converted one after the other into standard output;
// a failing input is reported and the others go on. With -i each file is replaced by its
// converted text, except where that does not change it or fails; a failing file stays as it was.
// Each message goes to errors (for standard error, without the program's name, with the file's).
ExitStatus runBatch(const QStringList &arguments, const BatchStreams &streams, QStringList &errors);

struct BatchResult {
    QByteArray output; // for standard output
    QString error; // for standard error, without the program's name; lines joined by LF
    ExitStatus exitStatus = ExitStatus::Success;
};

// The run in memory: standard input from readStandardInput (nothing: it cannot be read).
BatchResult runBatch(const QStringList &arguments,
                     const std::function<std::optional<QByteArray>()> &readStandardInput);

// One input in memory.
BatchResult convertBytes(const BatchArguments &arguments, QByteArrayView input);

} // namespace orvane::batch
