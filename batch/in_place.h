#pragma once
// orvane-conv -i: a file replaced by its conversion, or left exactly as it was.

#include "stream_conversion.h"

#include <QString>
#include <QStringList>

namespace orvane::batch {

// Checks the whole conversion first and writes nothing when the file would not change; then
// writes it through a FileWriter (by way of a temporary copy where the file is overwritten in
// place, since its old bytes are read until the end). False, with the message in errors, when it
// fails.
bool convertInPlace(const StreamOptions &options, const QString &path, QStringList &errors);

} // namespace orvane::batch
