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

[[noreturn]] void failInvalid(const QString &path, codec::TextEncoding encoding,
                              const codec::DecodeError &error)
{
    QString description
        = texts::invalidInEncoding(path, texts::encodingName(encoding), error.at.line, error.at.column);
    if (error.truncated)
        description += texts::cutAtTheEnd();
    throw HostError(ErrorNumber::InvalidFileFormat, description);
}

// Bytes known to be valid UTF-8, without their mark.
LoadedText utf8Document(QByteArray bytes, codec::TextEncoding encoding)
{
    LoadedText loaded;
    loaded.encoding = encoding;
    loaded.lineEnds = codec::takeLastLineEnd(bytes);
    loaded.utf8Units = codec::utf8::utf16Length(bytes);
    loaded.utf8 = std::move(bytes);
    return loaded;
}

LoadedText utf16Document(QByteArrayView bytes, codec::TextEncoding encoding, const QString &path)
{
    LoadedText loaded;
    loaded.encoding = encoding;
    codec::utf16::DecodeError error;
    if (!codec::utf16::decode(bytes, codec::byteOrder(encoding), loaded.text, &error))
        failInvalid(path, encoding, error);
    loaded.lineEnds = codec::takeLastLineEnd(loaded.text);
    return loaded;
}

// Decoded straight to the edit control's UTF-8. detected: the bytes were tried in the other
// encodings too, and the message says so when it refuses them.
LoadedText shiftJisDocument(QByteArray bytes, const QString &path, bool detected)
{
    LoadedText loaded;
    loaded.lineEnds = codec::takeLastLineEnd(bytes);
    codec::cp932::DecodeError error;
    if (!codec::cp932::decodeToUtf8(bytes, loaded.utf8, loaded.utf8Units, &error, &loaded.codes))
        throw HostError(ErrorNumber::InvalidFileFormat,
                        texts::invalidBytes(path, error.at.line, error.at.column)
                            + (detected ? texts::noOtherEncodingEither() : QString()));
    return loaded;
}

// EUC-JP and ISO-2022-JP. The last line end is taken from the text, not the bytes: in ISO-2022-JP
// an escape sequence may stand between a CR and its LF, or after the last line end.
LoadedText jisDocument(QByteArray bytes, codec::TextEncoding encoding, const QString &path)
{
    LoadedText loaded;
    loaded.encoding = encoding;
    QString text;
    codec::DecodeError error;
    if (!codec::decode(encoding, bytes, text, &error, &loaded.codes))
        failInvalid(path, encoding, error);
    loaded.lineEnds = codec::takeLastLineEnd(text);
    loaded.utf8Units = text.size();
    loaded.utf8 = std::move(text).toUtf8();
    return loaded;
}

} // namespace

LoadedText decodeDocumentBytes(QByteArray bytes, const QString &shownPath,
                               std::optional<codec::TextEncoding> chosen)
{
    codec::DetectedEncoding detected
        = chosen ? codec::DetectedEncoding {*chosen} : codec::detectEncoding(bytes);
    // A chosen Unicode encoding takes its mark where the file has one.
    if (detected.encoding == codec::TextEncoding::Utf8
        && bytes.startsWith(codec::byteOrderMark(codec::TextEncoding::Utf8Bom)))
        detected.encoding = codec::TextEncoding::Utf8Bom;
    const QByteArrayView mark = bytes.startsWith(codec::byteOrderMark(detected.encoding))
        ? codec::byteOrderMark(detected.encoding)
        : QByteArrayView();
    switch (detected.encoding) {
    case codec::TextEncoding::Utf8Bom: {
        bytes.remove(0, mark.size());
        codec::utf8::DecodeError error;
        if (!codec::utf8::validate(bytes, &error))
            failInvalid(shownPath, codec::TextEncoding::Utf8Bom, error);
        return utf8Document(std::move(bytes), codec::TextEncoding::Utf8Bom);
    }
    case codec::TextEncoding::Utf16Le:
    case codec::TextEncoding::Utf16Be:
        return utf16Document(QByteArrayView(bytes).sliced(mark.size()), detected.encoding, shownPath);
    case codec::TextEncoding::ShiftJis:
        return shiftJisDocument(std::move(bytes), shownPath, !chosen);
    case codec::TextEncoding::EucJp:
    case codec::TextEncoding::Iso2022Jp:
        return jisDocument(std::move(bytes), detected.encoding, shownPath);
    case codec::TextEncoding::Utf8:
        break;
    }
    if (chosen) {
        codec::utf8::DecodeError error;
        if (!codec::utf8::validate(bytes, &error))
            failInvalid(shownPath, codec::TextEncoding::Utf8, error);
    }
    LoadedText loaded = utf8Document(std::move(bytes), codec::TextEncoding::Utf8);
    // Valid as both: the user is asked, with the Shift-JIS text and its duplicate codes at hand.
    LoadedText::ShiftJisReading reading;
    if (detected.validAsBoth && codec::cp932::decode(loaded.utf8, reading.text, nullptr, &reading.codes))
        loaded.shiftJisReading = std::move(reading);
    return loaded;
}

} // namespace orvane
