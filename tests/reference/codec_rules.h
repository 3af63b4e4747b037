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

// A byte-order mark decides; seven-bit bytes with an escape to a set other than ASCII that read as
// ISO-2022-JP are it, other seven-bit bytes Shift-JIS; valid UTF-8 with a multi-byte character is
// UTF-8 unless its Shift-JIS reading scores clearly more Japanese (both noted when neither does);
// else Shift-JIS or EUC-JP, whichever reads the bytes, the higher score when both do. The scores
// are the engine's: a measure, not a rule to restate.
codec::DetectedEncoding detectByWalking(QByteArrayView bytes, bool complete = true);

// The bytes up to the last character that the end does not cut off, less a CR at their end.
qsizetype wholeCharactersByWalking(codec::TextEncoding encoding, QByteArrayView bytes);

// The text's lines (split at CR LF, lone CR and lone LF) joined with lineEnd.
QString withLineEndsBySplitting(const QString &text, codec::LineEnd lineEnd);

// Every string of up to maxLength bytes taken from alphabet, shortest first: the inputs a sweep
// compares fast and slow code over.
QList<QByteArray> byteStrings(QByteArrayView alphabet, int maxLength);

} // namespace orvane::reference
