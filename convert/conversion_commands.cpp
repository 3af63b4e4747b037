#include "conversion_commands.h"

#include "text/chars/convert.h"

#include <optional>

namespace orvane {

namespace {

// Below this many UTF-16 units a conversion takes a few milliseconds at most, and a wait cursor
// would only flicker.
constexpr qsizetype busyCursorThreshold = 1'000'000;

bool isUnchanged(const QString &before, const QString &after)
{
    // The conversions hand back the input itself when nothing changes, which spares comparing
    // a large text unit by unit.
    return after.constData() == before.constData() || after == before;
}

} // namespace

void convertWholeText(Host &host, ConversionKind kind)
{
    std::optional<BusyScope> busy;
    if (host.Text1.textLength() > busyCursorThreshold)
        busy.emplace(host.program);
    const QString before = host.Text1.text();
    const QString after = convert(kind, before);
    if (isUnchanged(before, after))
        return;
    host.Text1.setConvertedText(after, kind);
}

void convertSelection(Host &host, ConversionKind kind)
{
    if (host.Text1.selLength() == 0)
        return;
    std::optional<BusyScope> busy;
    if (host.Text1.selLength() > busyCursorThreshold)
        busy.emplace(host.program);
    const QString before = host.Text1.selText();
    const QString after = convert(kind, before);
    if (isUnchanged(before, after))
        return;
    host.Text1.setConvertedSelText(after, kind);
}

void UpperChange_Click(Host &host) { convertWholeText(host, ConversionKind::Upper); }
void LowerChange_Click(Host &host) { convertWholeText(host, ConversionKind::Lower); }
void HiraganaChange_Click(Host &host) { convertWholeText(host, ConversionKind::Hiragana); }
void KatakanaChange_Click(Host &host) { convertWholeText(host, ConversionKind::Katakana); }
void NarrowChange_Click(Host &host) { convertWholeText(host, ConversionKind::Narrow); }
void WideChange_Click(Host &host) { convertWholeText(host, ConversionKind::Wide); }

void SelUpperChange_Click(Host &host) { convertSelection(host, ConversionKind::Upper); }
void SelLowerChange_Click(Host &host) { convertSelection(host, ConversionKind::Lower); }
void SelHiraganaChange_Click(Host &host) { convertSelection(host, ConversionKind::Hiragana); }
void SelKatakanaChange_Click(Host &host) { convertSelection(host, ConversionKind::Katakana); }
void SelNarrowChange_Click(Host &host) { convertSelection(host, ConversionKind::Narrow); }
void SelWideChange_Click(Host &host) { convertSelection(host, ConversionKind::Wide); }

} // namespace orvane
