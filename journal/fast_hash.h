#pragma once
// A fast 64-bit non-cryptographic hash (xxHash64's algorithm) for telling whether a file is still
// the one that was opened, and for the checksums of the journal's records.

#include <QByteArrayView>
#include <QtGlobal>

namespace orvane::journal {

quint64 fastHash(QByteArrayView bytes, quint64 seed = 0);

} // namespace orvane::journal
