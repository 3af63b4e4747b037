#pragma once
// A failed read or write of a file on disk: what kind of failure it was and its Japanese
// description naming the file. Both programs catch it and show the description as it is.

#include <QString>

#include <exception>

namespace orvane::disk {

// Each failure's number is the one the editor shows for it.
enum class DiskFailure : int {
    OutOfMemory = 7,
    FileNotFound = 53,
    DiskFull = 61,
    PermissionDenied = 70,
    PathFileAccess = 75, // any other refusal or system error
    PathNotFound = 76, // the file's folder is missing
    InvalidFileFormat = 321, // bytes or characters the file's encoding cannot hold
};

struct DiskError : std::exception {
    DiskError(DiskFailure failure, QString description)
        : failure(failure)
        , description(std::move(description))
    {
    }
    const char *what() const noexcept override { return "orvane::disk::DiskError"; }

    DiskFailure failure;
    QString description;
};

} // namespace orvane::disk
