#include "conversion_commands.h"

#include "convert_texts.h"

#include "text/chars/convert.h"

#include <algorithm>
#include <optional>

namespace orvane {

namespace {

// Below this many UTF-16 units a conversion takes a few milliseconds at most, and a wait cursor
// would only flicker.
constexpr qsizetype busyCursorThreshold = 1'000'000;

// A whole text longer than this converts on the worker, piece by piece, with progress and キャンセル.
constexpr qsizetype pieceUnits = 4'000'000;

// Converts pieces that end after a LF: no conversion looks past a line end, so the pieces give
// what the whole text gives. The text itself when nothing changes.
QString convertInPieces(chars::ConversionKind kind, const QString &text, Progress &progress)
{
    progress.setTotal(text.size());
    QString out;
    bool changed = false;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = std::min(text.size(), start + pieceUnits);
        if (end < text.size()) {
            const qsizetype lf = text.indexOf(u'\n', end - 1);
            end = lf < 0 ? text.size() : lf + 1;
        }
        const QString piece = text.sliced(start, end - start);
        const QString converted = chars::convert(kind, piece);
        if (!changed && converted.constData() != piece.constData() && converted != piece) {
            changed = true;
            out.reserve(text.size() + text.size() / 8);
            out.append(QStringView(text).first(start));
        }
        if (changed)
            out.append(converted);
        start = end;
        progress.step(start);
    }
    return changed ? out : text;
}

bool isUnchanged(const QString &before, const QString &after)
{
    // The conversions hand back the input itself when nothing changes, which spares comparing
    // a large text unit by unit.
    return after.constData() == before.constData() || after == before;
}

} // namespace

void convertWholeText(Host &host, chars::ConversionKind kind)
{
    std::optional<BusyScope> busy;
    if (host.Text1.textLength() > busyCursorThreshold)
        busy.emplace(host.program);
    QString before = host.Text1.text();
    QString after;
    if (before.size() <= pieceUnits)
        after = chars::convert(kind, before);
    else
        host.program.runLong(convert_texts::converting(),
                             [&](Progress &progress) { after = convertInPieces(kind, before, progress); });
    if (isUnchanged(before, after))
        return;
    // The control keeps the text before for its undo step: this copy would only add to the peak.
    before = QString();
    host.Text1.setConvertedText(after, kind);
}

void convertSelection(Host &host, chars::ConversionKind kind)
{
    if (host.Text1.selLength() == 0)
        return;
    std::optional<BusyScope> busy;
    if (host.Text1.selLength() > busyCursorThreshold)
        busy.emplace(host.program);
    const QString before = host.Text1.selText();
    const QString after = chars::convert(kind, before);
    if (isUnchanged(before, after))
        return;
    host.Text1.setConvertedSelText(after, kind);
}

void UpperChange_Click(Host &host) { convertWholeText(host, chars::ConversionKind::Upper); }
void LowerChange_Click(Host &host) { convertWholeText(host, chars::ConversionKind::Lower); }
void HiraganaChange_Click(Host &host) { convertWholeText(host, chars::ConversionKind::Hiragana); }
void KatakanaChange_Click(Host &host) { convertWholeText(host, chars::ConversionKind::Katakana); }
void NarrowChange_Click(Host &host) { convertWholeText(host, chars::ConversionKind::Narrow); }
void WideChange_Click(Host &host) { convertWholeText(host, chars::ConversionKind::Wide); }

void SelUpperChange_Click(Host &host) { convertSelection(host, chars::ConversionKind::Upper); }
void SelLowerChange_Click(Host &host) { convertSelection(host, chars::ConversionKind::Lower); }
void SelHiraganaChange_Click(Host &host) { convertSelection(host, chars::ConversionKind::Hiragana); }
void SelKatakanaChange_Click(Host &host) { convertSelection(host, chars::ConversionKind::Katakana); }
void SelNarrowChange_Click(Host &host) { convertSelection(host, chars::ConversionKind::Narrow); }
void SelWideChange_Click(Host &host) { convertSelection(host, chars::ConversionKind::Wide); }

} // namespace orvane
