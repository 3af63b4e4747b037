#pragma once
// A failed host operation: the error's number and its Japanese description, as the error box shows it.
// Host operations throw it instead of returning a failure; the disk text files turn the disk
// layer's DiskError into it.

#include <QString>
#include <exception>

namespace orvane {

enum class ErrorNumber : int {
    OutOfMemory = 7,
    FileNotFound = 53,
    FileAlreadyOpen = 55,
    DiskFull = 61,
    InputPastEnd = 62,
    PermissionDenied = 70,
    PathFileAccess = 75,
    PathNotFound = 76,
    InvalidFileFormat = 321,
    DialogCancelled = 32755, // the file dialog's cancel, armed by CancelError
};

class HostError : public std::exception {
public:
    HostError(ErrorNumber number, QString description)
        : m_number(number)
        , m_description(std::move(description))
    {
    }

    ErrorNumber number() const { return m_number; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return "orvane::HostError"; }

private:
    ErrorNumber m_number;
    QString m_description;
};

} // namespace orvane
