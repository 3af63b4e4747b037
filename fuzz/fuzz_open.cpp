// Open's reading of any file's bytes: the encoding its rules choose (a byte-order mark, else the
// engine's detection, which must name an encoding that decodes the bytes or refuse them: UTF-8 only
// for valid UTF-8 with a multi-byte sequence), the text of that encoding with each line end as it
// is but the last one, which is noted apart so that the text and it are the file's whole text, and
// for bytes it cannot read a refusal that names the line and column of the first bad byte.

#include "fuzz/fuzz_check.h"
#include "host/files/document_bytes.h"
#include "host/host_error.h"
#include "text/codec/encoding_detection.h"
#include "text/codec/text_codec.h"
#include "text/codec/utf8.h"

using namespace orvane;

namespace {

struct Expected {
    TextEncoding encoding = TextEncoding::ShiftJis;
    QByteArrayView body;
};

Expected byTheRules(QByteArrayView bytes)
{
    for (const TextEncoding e : {TextEncoding::Utf8Bom, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        if (bytes.startsWith(byteOrderMark(e)))
            return {e, bytes.sliced(byteOrderMark(e).size())};
    }
    const bool multiByte = std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; });
    const TextEncoding detected = codepage::detectEncoding(bytes).encoding;
    FUZZ_CHECK(detected != TextEncoding::Utf8 || (multiByte && utf8::validate(bytes)));
    return {detected, bytes};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const Expected expected = byTheRules(bytes);
    QString text;
    codepage::DecodeError error;
    const bool readable = codepage::decode(expected.encoding, expected.body, text, &error);
    try {
        const LoadedText loaded = decodeDocumentBytes(bytes, QStringLiteral("f"));
        FUZZ_CHECK(readable && loaded.encoding == expected.encoding);
        const QString shown = reference::withoutLastLineEnd(text);
        FUZZ_CHECK(loaded.decoded() == shown);
        const QStringView last = loaded.lineEnds.last ? lineEndText(*loaded.lineEnds.last) : QStringView();
        FUZZ_CHECK(shown + last.toString() == text);
        QString shiftJis;
        const bool alsoShiftJis = loaded.encoding == TextEncoding::Utf8 && cp932::decode(bytes, shiftJis)
            && codepage::detectEncoding(bytes).validAsBoth;
        FUZZ_CHECK(
            loaded.alsoShiftJis() == alsoShiftJis
            && (!alsoShiftJis || loaded.shiftJisReading->text == reference::withoutLastLineEnd(shiftJis)));
        FUZZ_CHECK(!loaded.isUtf8() || loaded.utf8Units == loaded.decoded().size());
    } catch (const HostError &e) {
        FUZZ_CHECK(!readable);
        FUZZ_CHECK(e.description().contains(
            QStringLiteral("（%1 行目、%2 文字目）").arg(error.at.line).arg(error.at.column)));
    }
    return 0;
}
