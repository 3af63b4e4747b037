#include "utf_codecs.h"

#include <QtEndian>

namespace orvane::batch {

std::optional<TextPosition> findInvalidUtf8(QByteArrayView bytes, qsizetype *offset)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    TextPosition at;
    bool afterCr = false;
    qsizetype i = 0;
    auto invalid = [&]() -> std::optional<TextPosition> {
        if (offset)
            *offset = i;
        return at;
    };
    while (i < size) {
        const unsigned char lead = data[i];
        if (lead < 0x80) {
            if (lead == '\r' || (lead == '\n' && !afterCr)) {
                ++at.line;
                at.column = 1;
            } else if (lead != '\n') {
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
            return invalid();
        }
        if (size - i < length)
            return invalid();
        if (data[i + 1] < secondMin || data[i + 1] > secondMax)
            return invalid();
        for (qsizetype k = 2; k < length; ++k) {
            if (data[i + k] < 0x80 || data[i + k] > 0xBF)
                return invalid();
        }
        i += length;
        ++at.column;
    }
    return std::nullopt;
}

bool decodeUtf16(QByteArrayView bytes, bool bigEndian, QString &text, TextPosition *at)
{
    const qsizetype units = bytes.size() / 2;
    text.resize(units);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    const char *in = bytes.data();
    for (qsizetype i = 0; i < units; ++i)
        out[i] = bigEndian ? qFromBigEndian<char16_t>(in + 2 * i) : qFromLittleEndian<char16_t>(in + 2 * i);
    for (qsizetype i = 0; i < units; ++i) {
        const QChar c(out[i]);
        if (c.isHighSurrogate() && i + 1 < units && QChar(out[i + 1]).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            text.truncate(i);
            if (at) {
                *at = TextPosition();
                advance(*at, text);
            }
            return false;
        }
    }
    return true;
}

void appendUtf16(QStringView text, bool bigEndian, QByteArray &bytes)
{
    const qsizetype start = bytes.size();
    bytes.resize(start + 2 * text.size());
    char *out = bytes.data() + start;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (bigEndian)
            qToBigEndian<char16_t>(text[i].unicode(), out + 2 * i);
        else
            qToLittleEndian<char16_t>(text[i].unicode(), out + 2 * i);
    }
}

} // namespace orvane::batch
