#include "forward_search.h"

#include "search_texts.h"

#include "text/chars/instr.h"

#include <algorithm>

namespace orvane {

namespace {

// InStr's binary comparison, searched by the control in place so that the text is not read back.
chars::Match findBinary(const EditControl &Text1, qsizetype start, QStringView sought)
{
    start = std::max<qsizetype>(start, 1);
    if (start > Text1.textLength())
        return {};
    if (sought.isEmpty())
        return {start, 0};
    const qsizetype at = Text1.findBinary(start - 1, sought);
    return at < 0 ? chars::Match {} : chars::Match {at + 1, sought.size()};
}

} // namespace

qsizetype forwardSearch(Host &host, const SearchSettings &settings)
{
    EditControl &Text1 = host.Text1;
    // Positions are kept in qsizetype rather than 32 bits so that no document size can overflow them.
    qsizetype SearchPos = 0;
    if (settings.fromTop) {
        SearchPos = 1;
    } else {
        const qsizetype selStart = Text1.selStart();
        SearchPos = selStart + Text1.selLength() + 1;
    }
    const chars::CompareMode mode
        = settings.binaryCompare ? chars::CompareMode::Binary : chars::CompareMode::Text;

    chars::Match match;
    {
        // Searching a large text takes a noticeable moment.
        const BusyScope busy(host.program);
        if (mode == chars::CompareMode::Binary)
            match = findBinary(Text1, SearchPos, settings.searchText);
        else
            match = chars::InStr(SearchPos, Text1.text(), settings.searchText, mode);
    }
    SearchPos = match.position;

    if (SearchPos < 1) {
        host.messageBox.msgBox(search_texts::searchFinished(), MsgBoxStyle::OkOnly,
                               search_texts::searchFinishedTitle());
        return SearchPos;
    }
    // A text comparison may match a span of another length ("ｶﾞ" for "ガ"): select what matched.
    const qsizetype length = mode == chars::CompareMode::Binary ? settings.searchText.size() : match.length;
    Text1.setSelStart(SearchPos - 1);
    Text1.setSelLength(length);
    return SearchPos;
}

} // namespace orvane
