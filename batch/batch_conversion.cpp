#include "batch_conversion.h"

#include "batch_texts.h"
#include "file_streams.h"
#include "memory_streams.h"

#include "host/files/file_writer.h"
#include "host/host_error.h"

#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>

namespace orvane::batch {

namespace {

struct KindName {
    QStringView name;
    ConversionKind kind;
};

constexpr KindName kindNames[] = {
    {u"upper", ConversionKind::Upper},
    {u"lower", ConversionKind::Lower},
    {u"wide", ConversionKind::Wide},
    {u"narrow", ConversionKind::Narrow},
    {u"katakana", ConversionKind::Katakana},
    {u"hiragana", ConversionKind::Hiragana},
    {u"narrow-ascii", ConversionKind::NarrowAscii},
    {u"wide-ascii", ConversionKind::WideAscii},
    {u"narrow-kana", ConversionKind::NarrowKana},
    {u"wide-kana", ConversionKind::WideKana},
};

struct EncodingName {
    QStringView name;
    Encoding encoding;
    bool input;
    bool output;
};

constexpr EncodingName encodingNames[] = {
    {u"cp932", Encoding::Cp932, true, true},        {u"shift-jis", Encoding::Cp932, true, true},
    {u"shift_jis", Encoding::Cp932, true, true},    {u"sjis", Encoding::Cp932, true, true},
    {u"windows-31j", Encoding::Cp932, true, true},  {u"ms932", Encoding::Cp932, true, true},
    {u"utf-8", Encoding::Utf8, true, true},         {u"utf8", Encoding::Utf8, true, true},
    {u"utf-8-bom", Encoding::Utf8Bom, false, true}, {u"utf-16le", Encoding::Utf16Le, true, true},
    {u"utf-16be", Encoding::Utf16Be, true, true},   {u"auto", Encoding::Auto, true, false},
};

std::optional<Encoding> encodingFromName(QStringView name, bool input)
{
    for (const EncodingName &entry : encodingNames) {
        if ((input ? entry.input : entry.output) && name.compare(entry.name, Qt::CaseInsensitive) == 0)
            return entry.encoding;
    }
    return std::nullopt;
}

// A word that can only have been meant as a kind, not as a file name.
bool looksLikeKindName(const QString &word)
{
    if (word.isEmpty())
        return false;
    for (QChar c : word) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-' && c != u'_')
            return false;
    }
    return true;
}

ParsedArguments usageError(const QString &message)
{
    ParsedArguments parsed;
    parsed.error = message + u'\n' + batch_texts::seeUsage();
    return parsed;
}

StreamOptions streamOptions(const BatchArguments &arguments, qsizetype blockSize)
{
    StreamOptions options;
    options.from = arguments.from;
    options.to = arguments.to;
    options.kinds = arguments.kinds;
    options.lineEnd = arguments.lineEnd;
    options.blockSize = blockSize;
    return options;
}

QString named(const QString &path, const QString &message) { return path + QStringLiteral(": ") + message; }

// A missing file whose name looks like a misspelt kind is said to be neither.
std::unique_ptr<FileSource> openFile(const QString &path)
{
    if (!QFileInfo::exists(path) && looksLikeKindName(path))
        throw StreamError(batch_texts::neitherKindNorFile(path));
    return std::make_unique<FileSource>(path);
}

// Converts one input into standard output; returns its exit status. opened: the input could be
// read from.
int convertToOutput(const StreamOptions &options, const QString &file, const BatchStreams &streams,
                    QStringList &errors, bool &opened)
{
    opened = false;
    const bool standardInput = file == u"-";
    std::unique_ptr<ByteSource> source;
    try {
        source = standardInput ? streams.openStandardInput() : openFile(file);
    } catch (const StreamError &error) {
        errors.append(error.message());
        return UsageError;
    }
    if (!source) {
        errors.append(batch_texts::cannotReadStandardInput());
        return UsageError;
    }
    opened = true;
    const StreamOutcome outcome = convertStream(options, *source, streams.standardOutput);
    if (outcome.exitStatus == Success)
        return Success;
    QString message = outcome.error;
    if (outcome.exitStatus == Unconvertible && outcome.bytesWritten > 0)
        message += batch_texts::stoppedPartWay();
    // Messages about the content name the file they are about.
    errors.append(standardInput || outcome.exitStatus != Unconvertible ? message : named(file, message));
    return outcome.exitStatus;
}

// Copies a finished conversion into the writer, for a file written in place: its old bytes
// must stay readable until the conversion is complete.
void copyInto(QFile &spool, FileWriter &writer)
{
    writer.reserve(spool.size());
    spool.seek(0);
    QByteArray block(kDefaultBlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 count = spool.read(block.data(), block.size());
        if (count < 0)
            throw StreamError(batch_texts::cannotWriteTemporary());
        if (count == 0)
            return;
        writer.write(QByteArrayView(block.constData(), count));
    }
}

class SpoolSink final : public ByteSink {
public:
    explicit SpoolSink(QFile &file)
        : m_file(file)
    {
    }
    void write(QByteArrayView bytes) override
    {
        if (m_file.write(bytes.data(), bytes.size()) != bytes.size())
            throw StreamError(batch_texts::cannotWriteTemporary());
    }

private:
    QFile &m_file;
};

// Replaces one file by its conversion; false (with the message in errors) when it fails, the
// file then staying exactly as it was.
bool convertInPlace(const StreamOptions &options, const QString &path, QStringList &errors)
{
    try {
        // A first pass checks the whole file and whether anything changes, before anything is written.
        {
            const std::unique_ptr<FileSource> source = openFile(path);
            ComparingSink comparing(path);
            const StreamOutcome checked = convertStream(options, *source, comparing);
            if (checked.exitStatus != Success) {
                errors.append(checked.exitStatus == Unconvertible ? named(path, checked.error)
                                                                  : checked.error);
                return false;
            }
            if (comparing.matchesWhole())
                return true;
        }
        FileWriter writer(path);
        FileSource source(path);
        StreamOutcome written;
        if (writer.isInPlace()) {
            QTemporaryFile spool;
            if (!spool.open())
                throw StreamError(batch_texts::cannotWriteTemporary());
            SpoolSink sink(spool);
            written = convertStream(options, source, sink);
            if (written.exitStatus == Success)
                copyInto(spool, writer);
        } else {
            WriterSink sink(writer);
            written = convertStream(options, source, sink);
        }
        // The file changed between the passes.
        if (written.exitStatus != Success) {
            errors.append(written.exitStatus == Unconvertible ? named(path, written.error) : written.error);
            return false;
        }
        writer.commit();
        return true;
    } catch (const StreamError &error) {
        errors.append(error.message());
    } catch (const HostError &error) {
        errors.append(error.description());
    }
    return false;
}

} // namespace

std::optional<ConversionKind> kindFromName(QStringView name)
{
    for (const KindName &entry : kindNames) {
        if (name.compare(entry.name, Qt::CaseInsensitive) == 0)
            return entry.kind;
    }
    return std::nullopt;
}

std::optional<LineEnd> lineEndFromName(QStringView name)
{
    if (name == u"crlf")
        return LineEnd::CrLf;
    if (name == u"lf")
        return LineEnd::Lf;
    if (name == u"cr")
        return LineEnd::Cr;
    return std::nullopt;
}

ParsedArguments parseArguments(const QStringList &arguments)
{
    ParsedArguments parsed;
    BatchArguments &result = parsed.arguments;
    bool onlyFiles = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &word = arguments.at(i);
        const bool isLast = i + 1 == arguments.size();
        if (onlyFiles) {
            result.files.append(word);
            continue;
        }
        if (word == u"--help" || word == u"-h") {
            result.showHelp = true;
            continue;
        }
        if (word == u"--version") {
            result.showVersion = true;
            continue;
        }
        if (word == u"-i" || word == u"--in-place") {
            result.inPlace = true;
            continue;
        }
        if (word == u"--") {
            if (isLast)
                return usageError(batch_texts::missingFile());
            onlyFiles = true;
            continue;
        }
        if (word == u"--line-end" || word.startsWith(u"--line-end=")) {
            QString value;
            if (word.contains(u'=')) {
                value = word.mid(word.indexOf(u'=') + 1);
            } else {
                if (isLast)
                    return usageError(batch_texts::missingLineEnd());
                value = arguments.at(++i);
            }
            const std::optional<LineEnd> lineEnd = lineEndFromName(value);
            if (!lineEnd)
                return usageError(batch_texts::unknownLineEnd(value));
            result.lineEnd = *lineEnd;
            continue;
        }
        if (word.startsWith(u"--from") || word.startsWith(u"--to")) {
            const qsizetype equals = word.indexOf(u'=');
            const QString option = equals < 0 ? word : word.left(equals);
            if (option != u"--from" && option != u"--to")
                return usageError(batch_texts::unknownOption(word));
            QString value;
            if (equals >= 0) {
                value = word.mid(equals + 1);
            } else {
                if (isLast)
                    return usageError(batch_texts::missingValue(option));
                value = arguments.at(++i);
            }
            const bool input = option == u"--from";
            const std::optional<Encoding> encoding = encodingFromName(value, input);
            if (!encoding)
                return usageError(input ? batch_texts::unknownInputEncoding(value)
                                        : batch_texts::unknownOutputEncoding(value));
            (input ? result.from : result.to) = *encoding;
            continue;
        }
        if (word == u"-") {
            result.files.append(word);
            continue;
        }
        if (word.startsWith(u'-'))
            return usageError(batch_texts::unknownOption(word));
        // Kinds come before the files.
        if (result.files.isEmpty()) {
            if (const std::optional<ConversionKind> kind = kindFromName(word)) {
                result.kinds.append(*kind);
                continue;
            }
        }
        result.files.append(word);
    }
    if (result.inPlace && !result.showHelp && !result.showVersion) {
        if (result.files.isEmpty())
            return usageError(batch_texts::inPlaceNeedsFiles());
        if (result.files.contains(u"-"_qs))
            return usageError(batch_texts::inPlaceNotStandardInput());
    }
    return parsed;
}

int runBatch(const QStringList &arguments, const BatchStreams &streams, QStringList &errors)
{
    const ParsedArguments parsed = parseArguments(arguments);
    if (!parsed.error.isEmpty()) {
        errors.append(parsed.error);
        return UsageError;
    }
    const BatchArguments &options = parsed.arguments;
    if (options.showHelp || options.showVersion) {
        const QString text = options.showHelp ? batch_texts::usage() : batch_texts::version();
        try {
            streams.standardOutput.write(text.toLocal8Bit());
        } catch (const StreamError &error) {
            errors.append(error.message());
            return UsageError;
        }
        return Success;
    }
    StreamOptions stream = streamOptions(options, streams.blockSize);
    if (options.inPlace) {
        bool allDone = true;
        for (const QString &file : options.files) {
            // Whatever else fails, the rest of the files go on.
            allDone = convertInPlace(stream, file, errors) && allDone;
        }
        return allDone ? Success : Unconvertible;
    }
    const QStringList files = options.files.isEmpty() ? QStringList {u"-"_qs} : options.files;
    int status = Success;
    for (const QString &file : files) {
        bool opened = false;
        status = std::max(status, convertToOutput(stream, file, streams, errors, opened));
        // One output: a byte-order mark only at its start.
        if (opened)
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
    const StreamOutcome outcome = convertStream(streamOptions(arguments, kDefaultBlockSize), source, sink);
    return {sink.bytes(), outcome.error, outcome.exitStatus};
}

} // namespace orvane::batch
