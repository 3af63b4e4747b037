#pragma once
// Turns the system's file errors into the Japanese disk errors the user sees, shared by the
// reading and the writing side. Owns nothing.

#include "disk/disk_error.h"

#include <QString>

namespace orvane::disk {

enum class Access { Read, Write };

// The path as the user's system writes it.
QString shown(const QString &path);
QString systemReason(int error);

[[noreturn]] void fail(DiskFailure failure, QString description);
// A failed system call's errno, described for the file the user asked for (not a link's target).
[[noreturn]] void failWithErrno(int error, const QString &path, Access access);

} // namespace orvane::disk
