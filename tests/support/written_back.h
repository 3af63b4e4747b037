#pragma once
// A file's bytes decoded keeping the file's own codes, then the text (with `typed` after it)
// encoded back with those codes, through the engine's one dispatch: what Open then Save write.

#include "text/codec/text_codec.h"

#include <QByteArray>
#include <QString>

namespace orvane::test {

struct WrittenBack {
    bool decoded = false;
    QString text; // as decoded, without `typed`
    bool encoded = false;
    QByteArray bytes;
};

inline WrittenBack writtenBack(codec::TextEncoding encoding, QByteArrayView file, const QString &typed = {})
{
    WrittenBack back;
    codec::cp932::FileCodes codes;
    back.decoded = codec::decode(encoding, file, back.text, nullptr, &codes);
    back.encoded = codec::encode(encoding, back.text + typed, back.bytes, nullptr, &codes);
    return back;
}

} // namespace orvane::test
