#pragma once
// ISO-2022-JP ("JIS"), as mail and old files have it: escape sequences switch among ASCII (or
// JIS-Roman, read as ASCII), JIS X 0208, JIS X 0212 and half-width katakana (ESC ( I or SO/SI).
// The characters and codes are EUC-JP's with the high bits cleared.

#include "text/codec/codec_error.h"
#include "text/codec/cp932_file_codes.h"
#include "text/codec/eucjp.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>

namespace orvane::codec::iso2022jp {

using codec::DecodeError;
using codec::EncodeError;
using cp932::FileCodes;

// The escapes a file switched with, where it had a choice, so that a save writes the same ones.
struct Forms {
    bool jis1978 = false; // ESC $ @ rather than ESC $ B for JIS X 0208
    bool romanJ = false; // ESC ( J rather than ESC ( B back to single bytes
    bool shiftedKana = false; // SO ... SI rather than ESC ( I for half-width katakana
    friend bool operator==(const Forms &, const Forms &) = default;
};

// The forms ride in the file's codes (under a surrogate, which no code names), so that whatever
// keeps a document's codes keeps them too.
Forms formsIn(const FileCodes &codes);
FileCodes withForms(const FileCodes &codes, Forms forms);

enum class Set : uint8_t { Ascii, Roman, Jis0208, Jis0212, Kana };

// Decodes a text piece by piece, the designation in force carried from one piece to the next.
class Decoder {
public:
    // Returns false at the first byte that is not part of a character or of a known escape sequence
    // (reported there; an escape sequence or a two-byte code the piece's end cut off sets
    // truncated). Bytes from 0x80 are invalid. text holds the characters before a failure.
    // With consumed, a piece of a longer input: a sequence the end cut off, or a CR whose LF may
    // follow, is left for the next piece, and consumed says how many bytes were decoded.
    bool decode(QByteArrayView bytes, QString &text, DecodeError *error = nullptr,
                qsizetype *consumed = nullptr);
    // The first form of each choice the bytes so far used, and their codes of characters with several.
    Forms forms() const { return m_forms; }
    FileCodes codes() const { return m_recorder.codes(); }

private:
    Set m_set = Set::Ascii;
    bool m_shifted = false; // between SO and SI
    Forms m_forms;
    bool m_formsSeen[3] {}; // kanji, single bytes, kana
    eucjp::CodeRecorder m_recorder;
};

// Encodes a text piece by piece, ending every line and the last piece in ASCII.
class Encoder {
public:
    explicit Encoder(Forms forms = {}, const FileCodes *codes = nullptr)
        : m_forms(forms)
        , m_codes(codes && !codes->isEmpty() ? codes : nullptr)
    {
    }
    // Appends text's bytes. Returns false at the first character it cannot store (ESC, SO and SI
    // too, which would switch the reading); bytes then end in ASCII after the characters before it.
    bool encode(QStringView text, QByteArray &bytes, bool last, EncodeError *error = nullptr);

private:
    void toSingleBytes(QByteArray &bytes);

    Forms m_forms;
    const FileCodes *m_codes;
    Set m_set = Set::Ascii;
    bool m_shifted = false;
};

// The whole of a file: decode with the forms and codes it used (withForms), encode with them.
bool decode(QByteArrayView bytes, QString &text, DecodeError *error = nullptr, FileCodes *codes = nullptr);
bool encode(QStringView text, QByteArray &bytes, EncodeError *error = nullptr,
            const FileCodes *codes = nullptr);

} // namespace orvane::codec::iso2022jp
