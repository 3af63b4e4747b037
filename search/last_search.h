#pragma once
// The strings last searched for and put in their place, shared by the search and replace dialogs
// of every window while the program runs. Owns nothing but the two strings.

#include <QString>

namespace orvane {

struct LastSearch {
    QString searchText;
    QString replacement;

    // The program's one record.
    static LastSearch &shared()
    {
        static LastSearch last;
        return last;
    }
};

} // namespace orvane
