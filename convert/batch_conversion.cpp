#include "batch_conversion.h"

#include "convert.h"
#include "convert_texts.h"

#include "host/codepage/cp932.h"

#include <QFile>
#include <QFileInfo>

namespace orvane::batch {

namespace {

struct KindName {
    QStringView name;
    ConversionKind kind;
};

constexpr KindName kindNames[] = {
    { u"upper", ConversionKind::Upper },
    { u"lower", ConversionKind::Lower },
    { u"wide", ConversionKind::Wide },
    { u"narrow", ConversionKind::Narrow },
    { u"katakana", ConversionKind::Katakana },
    { u"hiragana", ConversionKind::Hiragana },
};

std::optional<Encoding> encodingFromName(QStringView name)
{
    for (QStringView cp932 : { u"cp932", u"shift-jis", u"shift_jis", u"sjis", u"windows-31j", u"ms932" }) {
        if (name.compare(cp932, Qt::CaseInsensitive) == 0)
            return Encoding::Cp932;
    }
    for (QStringView utf8 : { u"utf-8", u"utf8" }) {
        if (name.compare(utf8, Qt::CaseInsensitive) == 0)
            return Encoding::Utf8;
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
    parsed.error = message + u'\n' + convertTexts::seeUsage();
    return parsed;
}

struct TextPosition {
    qsizetype line = 1;
    qsizetype column = 1;
};

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut-off sequence.
// Lines and columns are counted as the code page's decoder counts them.
std::optional<TextPosition> findInvalidUtf8(QByteArrayView bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    TextPosition at;
    bool afterCr = false;
    qsizetype i = 0;
    while (i < size) {
        const unsigned char lead = data[i];
        if (lead < 0x80) {
            if (lead == '\r') {
                ++at.line;
                at.column = 1;
            } else if (lead == '\n') {
                if (!afterCr) {
                    ++at.line;
                    at.column = 1;
                }
            } else {
                ++at.column;
            }
            afterCr = lead == '\r';
            ++i;
            continue;
        }
        afterCr = false;
        qsizetype length = 0;
        unsigned char secondMin = 0x80;
        unsigned char secondMax = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                secondMin = 0xA0; // overlong below U+0800
            else if (lead == 0xED)
                secondMax = 0x9F; // U+D800–U+DFFF are surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                secondMin = 0x90; // overlong below U+10000
            else if (lead == 0xF4)
                secondMax = 0x8F; // above U+10FFFF
        } else {
            return at;
        }
        if (size - i < length)
            return at;
        if (data[i + 1] < secondMin || data[i + 1] > secondMax)
            return at;
        for (qsizetype k = 2; k < length; ++k) {
            if (data[i + k] < 0x80 || data[i + k] > 0xBF)
                return at;
        }
        i += length;
        ++at.column;
    }
    return std::nullopt;
}

bool startsWith(QByteArrayView bytes, QByteArrayView prefix)
{
    return bytes.size() >= prefix.size() && bytes.first(prefix.size()) == prefix;
}

const QByteArrayView utf8Bom("\xEF\xBB\xBF");
const QByteArrayView utf16LeBom("\xFF\xFE");
const QByteArrayView utf16BeBom("\xFE\xFF");

BatchResult failure(int status, const QString &message)
{
    BatchResult result;
    result.exitStatus = status;
    result.error = message;
    return result;
}

QString codePointName(char32_t codePoint)
{
    return QStringLiteral("U+") + QString::number(codePoint, 16).toUpper().rightJustified(4, u'0');
}

std::optional<QString> decode(Encoding from, QByteArrayView input, QString &error)
{
    if (startsWith(input, utf16LeBom) || startsWith(input, utf16BeBom)) {
        error = convertTexts::looksLikeUtf16();
        return std::nullopt;
    }
    if (from == Encoding::Utf8) {
        if (startsWith(input, utf8Bom))
            input = input.sliced(utf8Bom.size());
        if (const auto bad = findInvalidUtf8(input)) {
            error = convertTexts::invalidUtf8(bad->line, bad->column);
            return std::nullopt;
        }
        return QString::fromUtf8(input);
    }
    // Such a file decodes as Shift-JIS by accident, into mojibake.
    if (startsWith(input, utf8Bom)) {
        error = convertTexts::looksLikeUtf8();
        return std::nullopt;
    }
    QString text;
    cp932::DecodeError bad;
    if (!cp932::decode(input, text, &bad)) {
        error = convertTexts::invalidShiftJis(bad.at.line, bad.at.column);
        return std::nullopt;
    }
    return text;
}

std::optional<QByteArray> encode(Encoding to, const QString &text, QString &error)
{
    if (to == Encoding::Utf8)
        return text.toUtf8();
    QByteArray bytes;
    cp932::EncodeError bad;
    if (!cp932::encode(text, bytes, &bad)) {
        const char32_t codePoint = bad.codePoint;
        error = convertTexts::cannotStore(
            QString::fromUcs4(&codePoint, 1), codePointName(codePoint), bad.at.line, bad.at.column);
        if (codePoint == U'\u00A5')
            error += convertTexts::yenSignHint();
        return std::nullopt;
    }
    return bytes;
}

std::optional<QByteArray> readFile(const QString &path, QString &error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = looksLikeKindName(path) ? convertTexts::neitherKindNorFile(path)
                                        : convertTexts::fileNotFound(path);
        return std::nullopt;
    }
    if (info.isDir()) {
        error = convertTexts::isFolder(path);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const bool denied = file.error() == QFileDevice::PermissionsError;
        error = convertTexts::cannotRead(
            path, denied ? QStringLiteral("アクセスが拒否されました") : QStringLiteral("開けません"));
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = convertTexts::cannotRead(path, QStringLiteral("読み込みに失敗しました"));
        return std::nullopt;
    }
    return bytes;
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

ParsedArguments parseArguments(const QStringList &arguments)
{
    ParsedArguments parsed;
    BatchArguments &result = parsed.arguments;
    bool haveFile = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &word = arguments.at(i);
        const bool isLast = i + 1 == arguments.size();
        if (haveFile)
            return usageError(convertTexts::tooManyFiles(word));
        if (word == u"--help" || word == u"-h") {
            result.showHelp = true;
            continue;
        }
        if (word == u"--") {
            if (isLast)
                return usageError(convertTexts::missingFile());
            if (i + 2 < arguments.size())
                return usageError(convertTexts::tooManyFiles(arguments.at(i + 2)));
            result.file = arguments.at(i + 1);
            haveFile = true;
            ++i;
            continue;
        }
        if (word.startsWith(u"--from") || word.startsWith(u"--to")) {
            const qsizetype equals = word.indexOf(u'=');
            const QString option = equals < 0 ? word : word.left(equals);
            if (option != u"--from" && option != u"--to")
                return usageError(convertTexts::unknownOption(word));
            QString value;
            if (equals >= 0) {
                value = word.mid(equals + 1);
            } else {
                if (isLast)
                    return usageError(convertTexts::missingValue(option));
                value = arguments.at(++i);
            }
            const std::optional<Encoding> encoding = encodingFromName(value);
            if (!encoding)
                return usageError(convertTexts::unknownEncoding(value));
            (option == u"--from" ? result.from : result.to) = *encoding;
            continue;
        }
        if (word == u"-") {
            haveFile = true;
            continue;
        }
        if (word.startsWith(u'-'))
            return usageError(convertTexts::unknownOption(word));
        if (const std::optional<ConversionKind> kind = kindFromName(word)) {
            result.kinds.append(*kind);
            continue;
        }
        // Only the last word may name the file; anything else was meant as a kind.
        if (!isLast) {
            return usageError(
                looksLikeKindName(word) ? convertTexts::unknownKind(word) : convertTexts::tooManyFiles(word));
        }
        result.file = word;
        haveFile = true;
    }
    return parsed;
}

BatchResult convertBytes(const BatchArguments &arguments, QByteArrayView input)
{
    QString error;
    std::optional<QString> text = decode(arguments.from, input, error);
    if (!text)
        return failure(Unconvertible, error);
    for (ConversionKind kind : arguments.kinds)
        *text = convert(kind, *text);
    std::optional<QByteArray> bytes = encode(arguments.to, *text, error);
    if (!bytes)
        return failure(Unconvertible, error);
    BatchResult result;
    result.output = std::move(*bytes);
    return result;
}

BatchResult runBatch(
    const QStringList &arguments, const std::function<std::optional<QByteArray>()> &readStandardInput)
{
    const ParsedArguments parsed = parseArguments(arguments);
    if (!parsed.error.isEmpty())
        return failure(UsageError, parsed.error);
    const BatchArguments &options = parsed.arguments;
    if (options.showHelp) {
        BatchResult result;
        result.output = convertTexts::usage().toLocal8Bit();
        return result;
    }
    QString error;
    const std::optional<QByteArray> input
        = options.file.isEmpty() ? readStandardInput() : readFile(options.file, error);
    if (!input)
        return failure(UsageError, options.file.isEmpty() ? convertTexts::cannotReadStandardInput() : error);
    BatchResult result = convertBytes(options, *input);
    // Messages about the content name the file they are about.
    if (!result.error.isEmpty() && !options.file.isEmpty())
        result.error = options.file + QStringLiteral(": ") + result.error;
    return result;
}

} // namespace orvane::batch
