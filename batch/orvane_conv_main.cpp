// orvane-conv: the editor's conversions for files and pipes.

#include "batch_conversion.h"
#include "batch_texts.h"
#include "file_streams.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

int run(const QStringList &arguments)
{
#ifdef _WIN32
    // Line ends pass through untouched only in binary mode.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    using namespace orvane::batch;
    QStringList errors;
    ExitStatus status = ExitStatus::Success;
    try {
        StandardOutputSink output;
        const BatchStreams streams {[] { return std::make_unique<FileSource>(); }, output};
        status = runBatch(arguments, streams, errors);
    } catch (const StreamError &error) {
        errors.append(error.message());
        status = ExitStatus::UsageError;
    }
    for (const QString &error : std::as_const(errors)) {
        const QByteArray message = (QStringLiteral("orvane-conv: ") + error + u'\n').toLocal8Bit();
        std::fwrite(message.constData(), 1, size_t(message.size()), stderr);
    }
    return int(status);
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromWCharArray(argv[i]));
    return run(arguments);
}
#else
int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return run(arguments);
}
#endif
