#pragma once
// Line ends as the documents keep them: every lone CR and lone LF becomes CR LF.

#include <QByteArray>
#include <QString>

namespace orvane::codepage {

// Text without a lone CR or LF comes back as it is (shared, not copied).
QString withCrLf(const QString &text);
// The same on the bytes of an encoding where CR and LF are never part of a longer sequence
// (Shift-JIS, UTF-8).
QByteArray withCrLf(const QByteArray &bytes);

} // namespace orvane::codepage
