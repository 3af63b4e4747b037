#pragma once
// One click on the search dialog's Search button, without the dialog: a forward search in the main
// text that selects the match there or reports that nothing more was found.

#include "host/host.h"

#include <QString>

namespace orvane {

// What one search is asked to do; the dialog fills it from its controls.
struct SearchSettings {
    QString searchText; // exactly as typed, nothing trimmed
    bool fromTop = false; // search from the top of the text rather than after the selection
    bool binaryCompare = true; // compare exactly; otherwise with the text comparison
};

// Searches host.Text1 and returns SearchPos: the 1-based position of the match, or 0 after the
// not-found message. The main text's selection changes only when something was found.
qsizetype forwardSearch(Host &host, const SearchSettings &settings);

} // namespace orvane
