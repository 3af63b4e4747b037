#pragma once
// The Japanese texts of recovering a journal at start.

#include <QString>

namespace orvane::journal_texts {

inline QString untitled() { return QStringLiteral("無題"); }

inline QString recoveryQuestion(const QString &fileName)
{
    return QStringLiteral("前回保存されなかった変更があります（%1）。復元しますか")
        .arg(fileName.isEmpty() ? untitled() : fileName);
}

// Added to the question when the journal's end was cut off or overwritten.
inline QString damagedNote()
{
    return QStringLiteral("記録の終わりが壊れていたため、最後の変更の一部は失われました。"
                          "壊れた箇所より前の変更までを復元します。");
}

inline QString originChanged(const QString &fileName, const QString &keptPath)
{
    return QStringLiteral(
               "前回保存されなかった変更があります（%1）が、元のファイルがその後ほかのプログラムによって"
               "変更されたため、変更を復元できません。\n\n変更の記録は次の場所に残してあります。\n%2")
        .arg(fileName.isEmpty() ? untitled() : fileName, keptPath);
}

inline QString unreadable(const QString &keptPath)
{
    return QStringLiteral("前回保存されなかった変更の記録がありますが、壊れているか新しい版の Orvane "
                          "が書いたもので、読むことができません。\n\n記録は次の場所に残してあります。\n%1")
        .arg(keptPath);
}

} // namespace orvane::journal_texts
