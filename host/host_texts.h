#pragma once
// The Japanese texts of the error boxes that any command of the editor may show.

#include <QString>

namespace orvane::host_texts {

inline QString errorTitle() { return QStringLiteral("エラー"); }
inline QString outOfMemory()
{
    return QStringLiteral("メモリが不足しているため、操作を完了できませんでした。");
}
inline QString unexpectedError()
{
    return QStringLiteral("予期しないエラーのため、操作を完了できませんでした。");
}

} // namespace orvane::host_texts
