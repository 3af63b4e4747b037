// Open's reading of any file's bytes: the encoding its rules choose (as the walking reference
// decides them), the text of that encoding with each line end as it
// is but the last one, which is noted apart so that the text and it are the file's whole text, and
// for bytes it cannot read a refusal that names the line and column of the first bad byte.

#include "fuzz/fuzz_check.h"
#include "host/files/document_bytes.h"
#include "host/host_error.h"
#include "tests/reference/codec_rules.h"
#include "text/codec/text_codec.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const codec::DetectedEncoding expected = reference::detectByWalking(bytes);
    const QByteArrayView body = QByteArrayView(bytes).sliced(codec::byteOrderMark(expected.encoding).size());
    QString text;
    codec::DecodeError error;
    const bool readable = codec::decode(expected.encoding, body, text, &error);
    try {
        const LoadedText loaded = decodeDocumentBytes(bytes, QStringLiteral("f"));
        FUZZ_CHECK(readable && loaded.encoding == expected.encoding);
        const QString shown = reference::withoutLastLineEnd(text);
        FUZZ_CHECK(loaded.decoded() == shown);
        const QStringView last
            = loaded.lineEnds.last ? codec::lineEndText(*loaded.lineEnds.last) : QStringView();
        FUZZ_CHECK(shown + last.toString() == text);
        QString shiftJis;
        const bool alsoShiftJis = expected.validAsBoth;
        FUZZ_CHECK(!alsoShiftJis || codec::cp932::decode(bytes, shiftJis));
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
