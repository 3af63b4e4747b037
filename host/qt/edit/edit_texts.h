#pragma once
// The Japanese captions of the edit control's context menu, as a Japanese text box shows them.

#include <QString>

namespace orvane::edit_texts {

inline QString undo() { return QStringLiteral("元に戻す(&U)"); }
inline QString cut() { return QStringLiteral("切り取り(&T)"); }
inline QString copy() { return QStringLiteral("コピー(&C)"); }
inline QString paste() { return QStringLiteral("貼り付け(&P)"); }
inline QString erase() { return QStringLiteral("削除(&D)"); }
inline QString selectAll() { return QStringLiteral("すべて選択(&A)"); }

} // namespace orvane::edit_texts
