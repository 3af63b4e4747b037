#include "batch_arguments.h"

#include "batch_texts.h"

namespace orvane::batch {

namespace {

struct EncodingName {
    QStringView name;
    std::optional<codec::TextEncoding> encoding; // nothing: auto
    bool input;
    bool output;
};

constexpr EncodingName encodingNames[] = {
    {u"cp932", codec::TextEncoding::ShiftJis, true, true},
    {u"shift-jis", codec::TextEncoding::ShiftJis, true, true},
    {u"shift_jis", codec::TextEncoding::ShiftJis, true, true},
    {u"sjis", codec::TextEncoding::ShiftJis, true, true},
    {u"windows-31j", codec::TextEncoding::ShiftJis, true, true},
    {u"ms932", codec::TextEncoding::ShiftJis, true, true},
    {u"utf-8", codec::TextEncoding::Utf8, true, true},
    {u"utf8", codec::TextEncoding::Utf8, true, true},
    {u"utf-8-bom", codec::TextEncoding::Utf8Bom, false, true},
    {u"utf-16le", codec::TextEncoding::Utf16Le, true, true},
    {u"utf-16be", codec::TextEncoding::Utf16Be, true, true},
    {u"auto", std::nullopt, true, false},
    {u"euc-jp", codec::TextEncoding::EucJp, true, true},
    {u"eucjp", codec::TextEncoding::EucJp, true, true},
    {u"iso-2022-jp", codec::TextEncoding::Iso2022Jp, true, true},
    {u"jis", codec::TextEncoding::Iso2022Jp, true, true},
};

const EncodingName *encodingFromName(QStringView name, bool input)
{
    for (const EncodingName &entry : encodingNames) {
        if ((input ? entry.input : entry.output) && name.compare(entry.name, Qt::CaseInsensitive) == 0)
            return &entry;
    }
    return nullptr;
}

ParsedArguments usageError(const QString &message)
{
    ParsedArguments parsed;
    parsed.error = message + u'\n' + batch_texts::seeUsage();
    return parsed;
}

} // namespace

std::optional<chars::ConversionKind> kindFromName(QStringView name)
{
    for (const chars::ConversionKindName &entry : chars::conversionKindNames) {
        if (name.compare(entry.name, Qt::CaseInsensitive) == 0)
            return entry.kind;
    }
    return std::nullopt;
}

std::optional<codec::LineEnd> lineEndFromName(QStringView name)
{
    if (name == u"crlf")
        return codec::LineEnd::CrLf;
    if (name == u"lf")
        return codec::LineEnd::Lf;
    if (name == u"cr")
        return codec::LineEnd::Cr;
    return std::nullopt;
}

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
            const std::optional<codec::LineEnd> lineEnd = lineEndFromName(value);
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
            const EncodingName *named = encodingFromName(value, input);
            if (!named)
                return usageError(input ? batch_texts::unknownInputEncoding(value)
                                        : batch_texts::unknownOutputEncoding(value));
            if (input)
                result.from = named->encoding;
            else
                result.to = *named->encoding;
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
            if (const std::optional<chars::ConversionKind> kind = kindFromName(word)) {
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

} // namespace orvane::batch
