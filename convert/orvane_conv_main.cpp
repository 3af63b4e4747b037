// orvane-conv: the editor's conversions for files and pipes.

#include "batch_conversion.h"
#include "convert_texts.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

std::optional<QByteArray> readStandardInput()
{
    QByteArray bytes;
    char buffer[1 << 16];
    for (;;) {
        const size_t count = std::fread(buffer, 1, sizeof buffer, stdin);
        bytes.append(buffer, qsizetype(count));
        if (count < sizeof buffer)
            break;
    }
    if (std::ferror(stdin))
        return std::nullopt;
    return bytes;
}

int run(const QStringList &arguments)
{
#ifdef _WIN32
    // Line ends pass through untouched only in binary mode.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    orvane::batch::BatchResult result = orvane::batch::runBatch(arguments, readStandardInput);
    if (!result.output.isEmpty()) {
        const size_t written
            = std::fwrite(result.output.constData(), 1, size_t(result.output.size()), stdout);
        if (std::fflush(stdout) != 0 || written != size_t(result.output.size())) {
            result.error = orvane::convertTexts::cannotWriteStandardOutput();
            result.exitStatus = orvane::batch::UsageError;
        }
    }
    if (!result.error.isEmpty()) {
        const QByteArray message = (QStringLiteral("orvane-conv: ") + result.error + u'\n').toLocal8Bit();
        std::fwrite(message.constData(), 1, size_t(message.size()), stderr);
    }
    return result.exitStatus;
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
