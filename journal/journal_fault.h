#pragma once
// Why the journal cannot be written: what the window tells the user, and when it clears.

#include <QString>

namespace orvane::journal {

struct JournalFault {
    enum class Reason {
        NoSpace, // the disk or the user's quota is full
        ReadOnly, // a read-only file system
        NoPermission, // the folder or its parent may not be written
        CannotMake, // a parent is missing and cannot be made, or is not a folder
        NotFolder, // the journal folder's name is taken by something else
        Link, // the folder is a symbolic link: it might lead anywhere
        ForeignOwner, // another user owns the folder
        OpenToOthers, // others may write in the folder
        Other, // any other error of the system (error says which)
    };
    Reason reason = Reason::Other;
    int error = 0; // the system's error number, where one applies
    QString folder;

    // The fault of a failed system call, by its error number.
    static JournalFault ofError(int error, const QString &folder);

    friend bool operator==(const JournalFault &, const JournalFault &) = default;
};

// Told of the journal's state on the UI thread: the first fault, and that writing works again.
class JournalWatcher {
public:
    virtual ~JournalWatcher() = default;
    virtual void journalFailed(const JournalFault &fault) = 0;
    virtual void journalResumed() = 0;
};

} // namespace orvane::journal
