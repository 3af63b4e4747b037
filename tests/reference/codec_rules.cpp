#include "tests/reference/codec_rules.h"

#include "text/codec/cp932.h"
#include "text/codec/cp932_lead_byte.h"
#include "text/codec/japanese_score.h"
#include "text/codec/text_codec.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace orvane::reference {

namespace {

// How a character's bytes from i on end: whole, cut off by the end of the bytes, or not valid.
enum class Ending { Whole, Cut, Invalid };

struct Character {
    qsizetype size;
    Ending ending;
};

// The second byte's range after E0, ED, F0 and F4, which rules out overlong forms, surrogates and
// code points past U+10FFFF; 80–BF after the other leads and for later bytes.
bool continues(uchar lead, qsizetype k, uchar b)
{
    if (k == 1 && lead == 0xE0)
        return b >= 0xA0 && b <= 0xBF;
    if (k == 1 && lead == 0xED)
        return b >= 0x80 && b <= 0x9F;
    if (k == 1 && lead == 0xF0)
        return b >= 0x90 && b <= 0xBF;
    if (k == 1 && lead == 0xF4)
        return b >= 0x80 && b <= 0x8F;
    return b >= 0x80 && b <= 0xBF;
}

Character utf8At(QByteArrayView bytes, qsizetype i)
{
    const uchar lead = uchar(bytes[i]);
    const qsizetype length = lead < 0x80 ? 1
        : lead >= 0xC2 && lead <= 0xDF   ? 2
        : lead >= 0xE0 && lead <= 0xEF   ? 3
        : lead >= 0xF0 && lead <= 0xF4   ? 4
                                         : 0;
    if (length == 0)
        return {1, Ending::Invalid};
    for (qsizetype k = 1; k < length; ++k) {
        if (i + k == bytes.size())
            return {k, Ending::Cut};
        if (!continues(lead, k, uchar(bytes[i + k])))
            return {k, Ending::Invalid};
    }
    return {length, Ending::Whole};
}

Character shiftJisAt(QByteArrayView bytes, qsizetype i)
{
    if (!codec::cp932::isLeadByte(uchar(bytes[i])))
        return {1, Ending::Whole};
    return i + 1 == bytes.size() ? Character {1, Ending::Cut} : Character {2, Ending::Whole};
}

// EUC-JP: 8E leads two bytes, 8F three, A1–FF two, each byte after the first from A1; any other
// byte, or a lead without them, is one (an invalid one is the decoder's to report).
Character eucJpAt(QByteArrayView bytes, qsizetype i)
{
    const uchar lead = uchar(bytes[i]);
    const qsizetype length = lead == 0x8F ? 3 : lead == 0x8E || lead >= 0xA1 ? 2 : 1;
    for (qsizetype k = 1; k < length; ++k) {
        if (i + k == bytes.size())
            return {k, Ending::Cut};
        if (uchar(bytes[i + k]) < 0xA1)
            return {1, Ending::Invalid};
    }
    return {length, Ending::Whole};
}

Character utf16At(QByteArrayView bytes, qsizetype i, bool big)
{
    auto unitAt = [&](qsizetype k) {
        const uchar a = uchar(bytes[k]), b = uchar(bytes[k + 1]);
        return char16_t(big ? a << 8 | b : b << 8 | a);
    };
    if (i + 2 > bytes.size())
        return {1, Ending::Cut};
    if (!QChar::isHighSurrogate(unitAt(i)))
        return {2, Ending::Whole};
    return i + 4 > bytes.size() ? Character {bytes.size() - i, Ending::Cut} : Character {2, Ending::Whole};
}

Character characterAt(codec::TextEncoding encoding, QByteArrayView bytes, qsizetype i)
{
    switch (encoding) {
    case codec::TextEncoding::ShiftJis:
        return shiftJisAt(bytes, i);
    case codec::TextEncoding::EucJp:
        return eucJpAt(bytes, i);
    case codec::TextEncoding::Iso2022Jp:
        break; // stateful: see iso2022JpWholeCharacters
    case codec::TextEncoding::Utf16Le:
    case codec::TextEncoding::Utf16Be:
        return utf16At(bytes, i, encoding == codec::TextEncoding::Utf16Be);
    case codec::TextEncoding::Utf8:
    case codec::TextEncoding::Utf8Bom:
        break;
    }
    return utf8At(bytes, i);
}

// Whether every character of bytes is whole (or, in a start, the last one cut), and the start
// holds a multi-byte one.
struct Walk {
    bool valid = true;
    bool multiByte = false;
};

Walk walk(codec::TextEncoding encoding, QByteArrayView bytes, bool complete)
{
    Walk result;
    for (qsizetype i = 0; i < bytes.size();) {
        const Character c = characterAt(encoding, bytes, i);
        if (c.ending == Ending::Invalid || (c.ending == Ending::Cut && complete))
            return {false, result.multiByte};
        result.multiByte = result.multiByte || (c.ending == Ending::Whole && c.size > 1);
        i += c.size;
    }
    return result;
}

// ISO-2022-JP's characters depend on the escapes before them: the longest start that decodes on
// its own, tried from the longest down; all of it when no start decodes to the end of a character.
qsizetype iso2022JpWholeCharacters(QByteArrayView bytes)
{
    QString text;
    if (!codec::decode(codec::TextEncoding::Iso2022Jp, bytes, text)) {
        codec::DecodeError error;
        text.clear();
        codec::decode(codec::TextEncoding::Iso2022Jp, bytes, text, &error);
        if (!error.truncated)
            return bytes.size();
    }
    qsizetype end = bytes.size();
    while (end > 0 && !codec::decode(codec::TextEncoding::Iso2022Jp, bytes.first(end), text))
        --end;
    return end > 0 && bytes[end - 1] == '\r' ? end - 1 : end;
}

// The bytes read as encoding, less a character the end of a start cuts off; none when they do not
// decode.
std::optional<QString> reading(codec::TextEncoding encoding, QByteArrayView bytes, bool complete)
{
    qsizetype end = bytes.size();
    if (!complete && encoding == codec::TextEncoding::Iso2022Jp) {
        end = iso2022JpWholeCharacters(bytes);
    } else if (!complete) {
        for (qsizetype i = 0; i < bytes.size();) {
            const Character c = characterAt(encoding, bytes, i);
            if (c.ending == Ending::Cut) {
                end = i;
                break;
            }
            i += c.size;
        }
    }
    QString text;
    if (!codec::decode(encoding, bytes.first(end), text))
        return std::nullopt;
    return text;
}

codec::DetectedEncoding shiftJisOrEucJp(QByteArrayView bytes, bool complete)
{
    const std::optional<QString> asShiftJis = reading(codec::TextEncoding::ShiftJis, bytes, complete);
    const std::optional<QString> asEucJp = reading(codec::TextEncoding::EucJp, bytes, complete);
    if (!asShiftJis && !asEucJp)
        return {codec::TextEncoding::ShiftJis, false, true};
    if (asEucJp && (!asShiftJis || codec::japaneseScore(*asEucJp) > codec::japaneseScore(*asShiftJis)))
        return {codec::TextEncoding::EucJp};
    return {codec::TextEncoding::ShiftJis};
}

} // namespace

codec::DetectedEncoding detectByWalking(QByteArrayView bytes, bool complete)
{
    static constexpr const char *otherSets[] = {"\x1B$B", "\x1B$@", "\x1B$(B", "\x1B$(D", "\x1B(J", "\x1B(I"};
    for (const codec::TextEncoding marked : codec::allTextEncodings) {
        if (!codec::byteOrderMark(marked).isEmpty() && bytes.startsWith(codec::byteOrderMark(marked)))
            return {marked};
    }
    const Walk utf8 = walk(codec::TextEncoding::Utf8, bytes, complete);
    if (!utf8.valid)
        return shiftJisOrEucJp(bytes, complete);
    if (!utf8.multiByte) {
        const bool sevenBit = std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
        if (!sevenBit)
            return shiftJisOrEucJp(bytes, complete);
        // A designation of a set other than ASCII (JIS X 0208 in both forms, JIS X 0212, JIS-Roman,
        // kana), in bytes that read as ISO-2022-JP.
        const bool designates = std::any_of(std::begin(otherSets), std::end(otherSets),
                                            [&](const char *escape) { return bytes.contains(escape); });
        const bool jis = designates && reading(codec::TextEncoding::Iso2022Jp, bytes, complete);
        return {jis ? codec::TextEncoding::Iso2022Jp : codec::TextEncoding::ShiftJis};
    }
    const std::optional<QString> asShiftJis = reading(codec::TextEncoding::ShiftJis, bytes, complete);
    if (!asShiftJis)
        return {codec::TextEncoding::Utf8};
    const long long shiftJisScore = codec::japaneseScore(*asShiftJis);
    const long long utf8Score = codec::japaneseScore(*reading(codec::TextEncoding::Utf8, bytes, complete));
    if (codec::clearlyAhead(utf8Score, shiftJisScore))
        return {codec::TextEncoding::Utf8};
    if (codec::clearlyAhead(shiftJisScore, utf8Score))
        return {codec::TextEncoding::ShiftJis};
    return {codec::TextEncoding::Utf8, true};
}

qsizetype wholeCharactersByWalking(codec::TextEncoding encoding, QByteArrayView bytes)
{
    if (encoding == codec::TextEncoding::Iso2022Jp)
        return iso2022JpWholeCharacters(bytes);
    qsizetype end = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        const Character c = characterAt(encoding, bytes, i);
        if (c.ending == Ending::Cut)
            break;
        // An invalid sequence stays for the decoder: its bytes are kept.
        i += c.size;
        end = i;
    }
    const qsizetype unit
        = encoding == codec::TextEncoding::Utf16Le || encoding == codec::TextEncoding::Utf16Be ? 2 : 1;
    const char16_t last = end < unit ? 0
        : unit == 1                  ? char16_t(uchar(bytes[end - 1]))
        : encoding == codec::TextEncoding::Utf16Be
        ? char16_t(uchar(bytes[end - 2]) << 8 | uchar(bytes[end - 1]))
        : char16_t(uchar(bytes[end - 1]) << 8 | uchar(bytes[end - 2]));
    return last == u'\r' ? end - unit : end;
}

QString withLineEndsBySplitting(const QString &text, codec::LineEnd lineEnd)
{
    static const QRegularExpression anyLineEnd(QStringLiteral("\r\n|\r|\n"));
    return text.split(anyLineEnd).join(codec::lineEndText(lineEnd));
}

QList<QByteArray> byteStrings(QByteArrayView alphabet, int maxLength)
{
    QList<QByteArray> strings {QByteArray()};
    for (qsizetype from = 0, length = 0; length < maxLength; ++length) {
        const qsizetype to = strings.size();
        for (qsizetype i = from; i < to; ++i) {
            for (const char b : alphabet)
                strings.append(strings[i] + b);
        }
        from = to;
    }
    return strings;
}

} // namespace orvane::reference
