#pragma once
// Slow, obviously correct versions of the rules the codecs' callers share: which encoding bytes are
// in, where a block may be cut, and line ends rewritten; each walks its input from the start.

#include "text/codec/encoding_detection.h"
#include "text/codec/line_ends.h"
#include "text/codec/text_encoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace orvane::reference {

// A byte-order mark decides; else UTF-8 when every sequence is valid (the end of a start may cut
// the last) and one of them is multi-byte, noting whether Shift-JIS reads the bytes too; else
// Shift-JIS.
codepage::DetectedEncoding detectByWalking(QByteArrayView bytes, bool complete = true);

// The bytes up to the last character that the end does not cut off, less a CR at their end.
qsizetype wholeCharactersByWalking(TextEncoding encoding, QByteArrayView bytes);

// The text's lines (split at CR LF, lone CR and lone LF) joined with lineEnd.
QString withLineEndsBySplitting(const QString &text, LineEnd lineEnd);

// Every string of up to maxLength bytes taken from alphabet, shortest first: the inputs a sweep
// compares fast and slow code over.
QList<QByteArray> byteStrings(QByteArrayView alphabet, int maxLength);

} // namespace orvane::reference
