#pragma once
// A failed read or write of a file on disk: what kind of failure it was and its Japanese
// description naming the file. Both programs catch it and show the description as it is.

#include <QString>

#include <exception>

namespace orvane::disk {

enum class DiskFailure {
    OutOfMemory,
    FileNotFound,
    PathNotFound, // the file's folder is missing
    DiskFull,
    PermissionDenied,
    InvalidFileFormat, // bytes or characters the file's encoding cannot hold
    PathFileAccess, // any other refusal or system error
};

class DiskError : public std::exception {
public:
    DiskError(DiskFailure failure, QString description)
        : m_failure(failure)
        , m_description(std::move(description))
    {
    }

    DiskFailure failure() const { return m_failure; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return "orvane::disk::DiskError"; }

private:
    DiskFailure m_failure;
    QString m_description;
};

} // namespace orvane::disk
