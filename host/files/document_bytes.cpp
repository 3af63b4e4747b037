// Open's decision on a file's encoding, and the line-end rules that apply to every encoding.

#include "host/files/document_bytes.h"

#include "disk/disk_texts.h"
#include "host/host_error.h"
#include "text/codec/cp932.h"
#include "text/codec/encoding_detection.h"
#include "text/codec/line_ends.h"
#include "text/codec/text_codec.h"
#include "text/codec/utf16.h"
#include "text/codec/utf8.h"

namespace orvane {

namespace {

namespace texts = disk_texts;

[[noreturn]] void failInvalid(const QString &path, TextEncoding encoding, const codepage::DecodeError &error)
{
    QString description
        = texts::invalidInEncoding(path, texts::encodingName(encoding), error.at.line, error.at.column);
    if (error.truncated)
        description += texts::cutAtTheEnd();
    throw HostError(ErrorNumber::InvalidFileFormat, description);
}

// Bytes known to be valid UTF-8, without their mark.
LoadedText utf8Document(QByteArray bytes, TextEncoding encoding)
{
    LoadedText loaded;
    loaded.encoding = encoding;
    loaded.lineEnds = takeLastLineEnd(bytes);
    loaded.utf8Units = utf8::utf16Length(bytes);
    loaded.utf8 = std::move(bytes);
    return loaded;
}

LoadedText utf16Document(QByteArrayView bytes, TextEncoding encoding, const QString &path)
{
    LoadedText loaded;
    loaded.encoding = encoding;
    utf16::DecodeError error;
    if (!utf16::decode(bytes, codepage::byteOrder(encoding), loaded.text, &error))
        failInvalid(path, encoding, error);
    loaded.lineEnds = takeLastLineEnd(loaded.text);
    return loaded;
}

// Decoded straight to the edit control's UTF-8. detected: the bytes were tried in the other
// encodings too, and the message says so when it refuses them.
LoadedText shiftJisDocument(QByteArray bytes, const QString &path, bool detected)
{
    LoadedText loaded;
    loaded.lineEnds = takeLastLineEnd(bytes);
    cp932::DecodeError error;
    if (!cp932::decodeToUtf8(bytes, loaded.utf8, loaded.utf8Units, &error, &loaded.codes))
        throw HostError(ErrorNumber::InvalidFileFormat,
                        texts::invalidBytes(path, error.at.line, error.at.column)
                            + (detected ? texts::noOtherEncodingEither() : QString()));
    return loaded;
}

// EUC-JP and ISO-2022-JP. The last line end is taken from the text, not the bytes: in ISO-2022-JP
// an escape sequence may stand between a CR and its LF, or after the last line end.
LoadedText jisDocument(QByteArray bytes, TextEncoding encoding, const QString &path)
{
    LoadedText loaded;
    loaded.encoding = encoding;
    QString text;
    codepage::DecodeError error;
    if (!codepage::decode(encoding, bytes, text, &error, &loaded.codes))
        failInvalid(path, encoding, error);
    loaded.lineEnds = takeLastLineEnd(text);
    loaded.utf8Units = text.size();
    loaded.utf8 = std::move(text).toUtf8();
    return loaded;
}

} // namespace

LoadedText decodeDocumentBytes(QByteArray bytes, const QString &shownPath, std::optional<TextEncoding> chosen)
{
    codepage::DetectedEncoding detected
        = chosen ? codepage::DetectedEncoding {*chosen} : codepage::detectEncoding(bytes);
    // A chosen Unicode encoding takes its mark where the file has one.
    if (detected.encoding == TextEncoding::Utf8 && bytes.startsWith(byteOrderMark(TextEncoding::Utf8Bom)))
        detected.encoding = TextEncoding::Utf8Bom;
    const QByteArrayView mark = bytes.startsWith(byteOrderMark(detected.encoding))
        ? byteOrderMark(detected.encoding)
        : QByteArrayView();
    switch (detected.encoding) {
    case TextEncoding::Utf8Bom: {
        bytes.remove(0, mark.size());
        utf8::DecodeError error;
        if (!utf8::validate(bytes, &error))
            failInvalid(shownPath, TextEncoding::Utf8Bom, error);
        return utf8Document(std::move(bytes), TextEncoding::Utf8Bom);
    }
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return utf16Document(QByteArrayView(bytes).sliced(mark.size()), detected.encoding, shownPath);
    case TextEncoding::ShiftJis:
        return shiftJisDocument(std::move(bytes), shownPath, !chosen);
    case TextEncoding::EucJp:
    case TextEncoding::Iso2022Jp:
        return jisDocument(std::move(bytes), detected.encoding, shownPath);
    case TextEncoding::Utf8:
        break;
    }
    if (chosen) {
        utf8::DecodeError error;
        if (!utf8::validate(bytes, &error))
            failInvalid(shownPath, TextEncoding::Utf8, error);
    }
    LoadedText loaded = utf8Document(std::move(bytes), TextEncoding::Utf8);
    // Valid as both: the user is asked, with the Shift-JIS text and its duplicate codes at hand.
    LoadedText::ShiftJisReading reading;
    if (detected.validAsBoth && cp932::decode(loaded.utf8, reading.text, nullptr, &reading.codes))
        loaded.shiftJisReading = std::move(reading);
    return loaded;
}

} // namespace orvane
