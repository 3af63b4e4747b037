#pragma once
// One click on the search dialog's Search button, without the dialog: a forward search in the main
// text that selects the match there or reports that nothing more was found.

#include "host/host.h"

#include <QString>

namespace orvane {

// What the search reads from the dialog's controls.
struct SearchSettings {
    QString searchText; // the search box Text1, exactly as it stands
    bool check1Checked = false; // "先頭にある文字列のみ検索": search from the top of the text
    bool option1Selected = true; // "バイナリ検索"; otherwise "テキスト検索"
};

// Searches host.Text1 and returns SearchPos: the 1-based position of the match, or 0 after the
// not-found message. The main text's selection changes only when something was found.
qsizetype forwardSearch(Host &host, const SearchSettings &settings);

} // namespace orvane
