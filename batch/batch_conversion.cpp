#include "batch_conversion.h"

#include "batch_texts.h"
#include "file_streams.h"
#include "in_place.h"
#include "memory_streams.h"

#include <algorithm>

namespace orvane::batch {

namespace {

StreamOptions streamOptions(const BatchArguments &arguments, qsizetype blockSize)
{
    StreamOptions options;
    options.from = arguments.from;
    options.to = arguments.to;
    options.kinds = arguments.kinds;
    options.blockSize = blockSize;
    return options;
}

struct OutputRun {
    ExitStatus status;
    bool opened; // the input could be read from
};

// Converts one input into standard output.
OutputRun convertToOutput(const StreamOptions &options, const QString &file, const BatchStreams &streams,
                          QStringList &errors)
{
    const bool standardInput = file == u"-";
    std::unique_ptr<ByteSource> source;
    try {
        source = standardInput ? streams.openStandardInput() : openInputFile(file);
    } catch (const StreamError &error) {
        errors.append(error.message());
        return {ExitStatus::UsageError, false};
    }
    if (!source) {
        errors.append(batch_texts::cannotReadStandardInput());
        return {ExitStatus::UsageError, false};
    }
    const StreamOutcome outcome = convertStream(options, *source, streams.standardOutput);
    if (outcome.exitStatus == ExitStatus::Success)
        return {ExitStatus::Success, true};
    QString message = outcome.error;
    if (outcome.exitStatus == ExitStatus::Unconvertible && outcome.bytesWritten > 0)
        message += batch_texts::stoppedPartWay();
    // Messages about the content name the file they are about.
    errors.append(standardInput || outcome.exitStatus != ExitStatus::Unconvertible
                      ? message
                      : batch_texts::aboutFile(file, message));
    return {outcome.exitStatus, true};
}

} // namespace

ExitStatus runBatch(const QStringList &arguments, const BatchStreams &streams, QStringList &errors)
{
    const ParsedArguments parsed = parseArguments(arguments);
    if (!parsed.error.isEmpty()) {
        errors.append(parsed.error);
        return ExitStatus::UsageError;
    }
    const BatchArguments &options = parsed.arguments;
    if (options.showHelp || options.showVersion) {
        const QString text = options.showHelp ? batch_texts::usage() : batch_texts::version();
        try {
            streams.standardOutput.write(text.toLocal8Bit());
        } catch (const StreamError &error) {
            errors.append(error.message());
            return ExitStatus::UsageError;
        }
        return ExitStatus::Success;
    }
    StreamOptions stream = streamOptions(options, streams.blockSize);
    if (options.inPlace) {
        bool allDone = true;
        for (const QString &file : options.files) {
            // Whatever else fails, the rest of the files go on.
            allDone = convertInPlace(stream, file, errors) && allDone;
        }
        return allDone ? ExitStatus::Success : ExitStatus::Unconvertible;
    }
    const QStringList files = options.files.isEmpty() ? QStringList {u"-"_qs} : options.files;
    ExitStatus status = ExitStatus::Success;
    for (const QString &file : files) {
        const OutputRun converted = convertToOutput(stream, file, streams, errors);
        status = std::max(status, converted.status);
        // One output: a byte-order mark only at its start.
        if (converted.opened)
            stream.writeBom = false;
    }
    return status;
}

BatchResult runBatch(const QStringList &arguments,
                     const std::function<std::optional<QByteArray>()> &readStandardInput)
{
    MemorySink output;
    const BatchStreams streams {
        [&]() -> std::unique_ptr<ByteSource> {
            std::optional<QByteArray> bytes = readStandardInput();
            if (!bytes)
                return nullptr;
            return std::make_unique<MemorySource>(std::move(*bytes));
        },
        output,
    };
    QStringList errors;
    BatchResult result;
    result.exitStatus = runBatch(arguments, streams, errors);
    result.output = output.bytes();
    result.error = errors.join(u'\n');
    return result;
}

BatchResult convertBytes(const BatchArguments &arguments, QByteArrayView input)
{
    MemorySource source(input.toByteArray());
    MemorySink sink;
    const StreamOutcome outcome = convertStream(streamOptions(arguments, defaultBlockSize), source, sink);
    return {sink.bytes(), outcome.error, outcome.exitStatus};
}

} // namespace orvane::batch
