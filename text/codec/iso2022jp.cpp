// ISO-2022-JP over the EUC-JP tables: a state machine of designations on reading, and on writing an
// escape sequence only where the character set changes.

#include "text/codec/iso2022jp.h"

#include "text/codec/ascii_runs.h"

#include "text/codec/text_positions.h"

namespace orvane::codec::iso2022jp {

namespace {

constexpr char16_t formsKey = 0xD800; // the surrogate the forms ride under in FileCodes
constexpr uchar esc = 0x1B;
constexpr uchar shiftOut = 0x0E;
constexpr uchar shiftIn = 0x0F;

bool isSurrogate(char16_t c) { return (c & 0xF800) == 0xD800; }

// The escape sequence at bytes (which start with ESC): its length, and the set it designates
// (nothing for the announcement ESC & @ and the kana designation of G1 for SO, ESC ) I). 0 when
// the bytes are no known sequence; -1 when the end cut a known one off.
struct Escape {
    int length = 0;
    bool designates = false;
    Set set = Set::Ascii;
    bool jis1978 = false;
};

Escape escapeAt(const uchar *p, qsizetype left)
{
    struct Known {
        const char *bytes;
        bool designates;
        Set set;
        bool jis1978;
    };
    static constexpr Known known[] = {
        {"\x1B(B", true, Set::Ascii, false},    {"\x1B(J", true, Set::Roman, false},
        {"\x1B(I", true, Set::Kana, false},     {"\x1B$@", true, Set::Jis0208, true},
        {"\x1B$B", true, Set::Jis0208, false},  {"\x1B$(B", true, Set::Jis0208, false},
        {"\x1B$(D", true, Set::Jis0212, false}, {"\x1B&@", false, Set::Ascii, false},
        {"\x1B)I", false, Set::Ascii, false},
    };
    bool cut = false;
    for (const Known &k : known) {
        const qsizetype length = qsizetype(std::char_traits<char>::length(k.bytes));
        const qsizetype n = std::min(length, left);
        if (std::equal(p, p + n, reinterpret_cast<const uchar *>(k.bytes))) {
            if (n == length)
                return {int(length), k.designates, k.set, k.jis1978};
            cut = true;
        }
    }
    return {cut ? -1 : 0};
}

} // namespace

Forms formsIn(const FileCodes &codes)
{
    const uint16_t bits = codes.codeOf(formsKey);
    return {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
}

FileCodes withForms(const FileCodes &codes, Forms forms)
{
    std::vector<FileCodes::Entry> entries;
    const uint16_t bits
        = uint16_t((forms.jis1978 ? 1 : 0) | (forms.romanJ ? 2 : 0) | (forms.shiftedKana ? 4 : 0));
    bool placed = bits == 0;
    for (const FileCodes::Entry &entry : codes.entries()) {
        if (entry.character == formsKey)
            continue;
        if (!placed && entry.character > formsKey) {
            entries.push_back({formsKey, bits});
            placed = true;
        }
        entries.push_back(entry);
    }
    if (!placed)
        entries.push_back({formsKey, bits});
    return FileCodes::fromEntries(std::move(entries));
}

bool Decoder::decode(QByteArrayView bytes, QString &text, DecodeError *error, qsizetype *consumed)
{
    const qsizetype size = bytes.size();
    const auto [begin, end, outBegin] = codec::startDecode(bytes, text);
    const uchar *in = begin;
    char16_t *out = outBegin;
    bool truncated = false;
    auto seeForm = [this](int choice, bool value) {
        if (!m_formsSeen[choice]) {
            m_formsSeen[choice] = true;
            (choice == 0 ? m_forms.jis1978 : choice == 1 ? m_forms.romanJ : m_forms.shiftedKana) = value;
        }
    };
    while (in < end) {
        const unsigned b = *in;
        if (b == esc) {
            const Escape e = escapeAt(in, end - in);
            if (e.length <= 0) {
                truncated = e.length < 0;
                break;
            }
            if (e.designates) {
                m_set = e.set;
                if (e.set == Set::Jis0208)
                    seeForm(0, e.jis1978);
                else if (e.set == Set::Ascii || e.set == Set::Roman)
                    seeForm(1, e.set == Set::Roman);
                else if (e.set == Set::Kana)
                    seeForm(2, false);
            }
            in += e.length;
            continue;
        }
        if (b == shiftOut || b == shiftIn) {
            m_shifted = b == shiftOut;
            if (m_shifted)
                seeForm(2, true);
            ++in;
            continue;
        }
        if (b >= 0x80)
            break;
        // Controls and space stand for themselves in every set, so line ends always end lines.
        if (b <= 0x20) {
            *out++ = char16_t(b);
            ++in;
            continue;
        }
        if (m_shifted || m_set == Set::Kana) {
            if (b > 0x5F)
                break;
            *out++ = char16_t(0xFF61 + b - 0x21);
            ++in;
            continue;
        }
        if (m_set == Set::Ascii || m_set == Set::Roman) {
            *out++ = char16_t(b);
            ++in;
            continue;
        }
        if (end - in < 2) {
            truncated = b != 0x7F;
            break;
        }
        const unsigned second = in[1];
        const bool primary = m_set == Set::Jis0208;
        const char16_t c = primary ? eucjp::primaryCharacter(b | 0x80, second | 0x80)
                                   : eucjp::secondaryCharacter(b | 0x80, second | 0x80);
        if (c == 0 || second >= 0x80)
            break;
        if (eucjp::hasSeveralCodes(c))
            m_recorder.note(c, uint16_t(primary ? (b << 8 | second) | 0x8080 : b << 8 | second));
        *out++ = c;
        in += 2;
    }
    const qsizetype length = out - outBegin;
    if (consumed && in != end && truncated) {
        *consumed = in - begin;
    } else if (in != end) {
        if (error) {
            error->at = codec::positionOfUnit(outBegin, length);
            error->at.offset = in - begin;
            error->truncated = truncated;
        }
        text.resize(length);
        return false;
    } else if (consumed) {
        *consumed = size;
    }
    if (consumed && *consumed > 0 && begin[*consumed - 1] == '\r') {
        // Its LF may come in the next piece.
        --*consumed;
        text.resize(length - 1);
        return true;
    }
    text.resize(length);
    if (length < size)
        text.squeeze();
    return true;
}

void Encoder::toSingleBytes(QByteArray &bytes)
{
    if (m_shifted) {
        bytes += char(shiftIn);
        m_shifted = false;
    }
    if (m_set != Set::Ascii && m_set != Set::Roman) {
        bytes += m_forms.romanJ ? "\x1B(J" : "\x1B(B";
        m_set = m_forms.romanJ ? Set::Roman : Set::Ascii;
    }
}

bool Encoder::encode(QStringView text, QByteArray &bytes, bool last, EncodeError *error)
{
    bytes.reserve(bytes.size() + text.size() * 2 + 8);
    const char16_t *src = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    for (; i < size; ++i) {
        const char16_t c = src[i];
        if (c < 0x80) {
            if (c == esc || c == shiftOut || c == shiftIn)
                break;
            toSingleBytes(bytes);
            bytes += char(c);
            continue;
        }
        if (isSurrogate(c))
            break;
        uint16_t code = m_codes ? m_codes->codeOf(c) : 0;
        if (code == 0)
            code = eucjp::codeOf(c);
        if (code == 0)
            break;
        if (code < 0x100) {
            if (m_forms.shiftedKana) {
                if (!m_shifted) {
                    bytes += char(shiftOut);
                    m_shifted = true;
                }
            } else if (m_set != Set::Kana) {
                if (m_shifted) {
                    bytes += char(shiftIn);
                    m_shifted = false;
                }
                bytes += "\x1B(I";
                m_set = Set::Kana;
            }
            bytes += char(code & 0x7F);
            continue;
        }
        if (m_shifted) {
            bytes += char(shiftIn);
            m_shifted = false;
        }
        const Set set = code >= 0x8080 ? Set::Jis0208 : Set::Jis0212;
        if (m_set != set) {
            bytes += set == Set::Jis0212 ? "\x1B$(D" : m_forms.jis1978 ? "\x1B$@" : "\x1B$B";
            m_set = set;
        }
        bytes += char((code >> 8) & 0x7F);
        bytes += char(code & 0x7F);
    }
    const bool ok = codec::storedAll(src, i, size, error);
    if (last || !ok)
        toSingleBytes(bytes);
    return ok;
}

bool decode(QByteArrayView bytes, QString &text, DecodeError *error, FileCodes *codes)
{
    Decoder decoder;
    const bool ok = decoder.decode(bytes, text, error);
    if (codes)
        *codes = ok ? withForms(decoder.codes(), decoder.forms()) : FileCodes();
    return ok;
}

bool encode(QStringView text, QByteArray &bytes, EncodeError *error, const FileCodes *codes)
{
    bytes.clear();
    Encoder encoder(codes ? formsIn(*codes) : Forms(), codes);
    return encoder.encode(text, bytes, true, error);
}

} // namespace orvane::codec::iso2022jp
