#pragma once
// The twelve conversion commands: six rewrite the whole text of Text1, six its selection.
// Each is one undo step; a conversion that changes nothing leaves text, undo and Modified alone.

#include "host/host.h"
#include "text/chars/conversion_kind.h"

namespace orvane {

// Converts the whole text; shows the wait cursor while a large text is converted.
void convertWholeText(Host &host, chars::ConversionKind kind);
// Converts the selection and leaves the caret after it; with no selection nothing happens.
void convertSelection(Host &host, chars::ConversionKind kind);

void UpperChange_Click(Host &host);
void LowerChange_Click(Host &host);
void HiraganaChange_Click(Host &host);
void KatakanaChange_Click(Host &host);
void NarrowChange_Click(Host &host);
void WideChange_Click(Host &host);

void SelUpperChange_Click(Host &host);
void SelLowerChange_Click(Host &host);
void SelHiraganaChange_Click(Host &host);
void SelKatakanaChange_Click(Host &host);
void SelNarrowChange_Click(Host &host);
void SelWideChange_Click(Host &host);

} // namespace orvane
