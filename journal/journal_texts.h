#pragma once
// The Japanese texts of recovering a journal at start.

#include "journal_fault.h"

#include <QDir>
#include <QString>

namespace orvane::journal_texts {

inline QString untitled() { return QStringLiteral("無題"); }

inline QString recoveryQuestion(const QString &fileName)
{
    return QStringLiteral("前回保存されなかった変更があります（%1）。復元しますか")
        .arg(fileName.isEmpty() ? untitled() : fileName);
}

// Added to the question when the journal was cut off, overwritten or does not fit the text:
// restored of total changes come back (total -1 when what followed the damage cannot be counted).
inline QString damagedNote(qsizetype restored, qsizetype total)
{
    if (total < 0)
        return QStringLiteral("記録の途中が壊れていたため、壊れた箇所より前の %1 件の変更だけを復元します。"
                              "それより後の変更は失われました。")
            .arg(restored);
    return QStringLiteral("記録の一部が壊れていたため、%1 件中 %2 件の変更を復元します。")
        .arg(total)
        .arg(restored);
}

// Added to the question when the file on disk is no longer the one the edits began from.
inline QString fileChangedNote()
{
    return QStringLiteral("ファイルは開いた後に変更されています。復元したテキストは、保存するまで"
                          "ディスク上の新しいファイルとは別の、保存されていないテキストになります。");
}

// Added when the damaged journal is kept until the restored text is saved.
inline QString keptNote(const QString &keptPath)
{
    return QStringLiteral("壊れた記録は、復元したテキストを保存するまで次の場所に残します。\n%1")
        .arg(keptPath);
}

// A journal set aside at an earlier start (damaged, or its text could not be restored).
inline QString setAsideQuestion(const QString &fileName, const QString &keptPath)
{
    return QStringLiteral("以前に復元できなかった変更の記録が残っています（%1）。\n%2\n\n"
                          "はい: 復元できる分を復元します\nいいえ: 記録を削除します")
        .arg(fileName.isEmpty() ? untitled() : fileName, keptPath);
}

inline QString setAsideUnrestorable(const QString &fileName, const QString &keptPath)
{
    return QStringLiteral("以前に復元できなかった変更の記録が残っています（%1）が、元のテキストがないため"
                          "復元できません。\n%2\n\n記録を削除しますか")
        .arg(fileName.isEmpty() ? untitled() : fileName, keptPath);
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

// Why the journal cannot be written, as the warning names it.
inline QString faultReason(const journal::JournalFault &fault)
{
    using Reason = journal::JournalFault::Reason;
    switch (fault.reason) {
    case Reason::NoSpace:
        return QStringLiteral("ディスクの空き容量が不足しています");
    case Reason::ReadOnly:
        return QStringLiteral("読み取り専用のディスクです");
    case Reason::NoPermission:
        return QStringLiteral("書き込む権限がありません");
    case Reason::CannotMake:
        return QStringLiteral("フォルダーを作れません");
    case Reason::NotFolder:
        return QStringLiteral("同じ名前のファイルがあるためフォルダーを作れません");
    case Reason::Link:
        return QStringLiteral("フォルダーがシンボリックリンクのため使いません");
    case Reason::ForeignOwner:
        return QStringLiteral("フォルダーの所有者がほかのユーザーのため使いません");
    case Reason::OpenToOthers:
        return QStringLiteral("フォルダーにほかのユーザーも書き込めるため使いません");
    case Reason::Other:
        break;
    }
    return QStringLiteral("システムのエラー %1").arg(fault.error);
}

// The folder as the user knows it: ~ for the home folder.
inline QString shownFolder(const QString &folder)
{
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + u'/'))
        return u'~' + folder.mid(home.size());
    return folder;
}

inline QString faultWarning(const journal::JournalFault &fault)
{
    return QStringLiteral(
               "復旧用の記録を書けません（%1: %2）。保存するまで、変更は失われるおそれがあります。")
        .arg(faultReason(fault), shownFolder(fault.folder));
}

inline QString resumedNote() { return QStringLiteral("復旧用の記録をふたたび書けるようになりました。"); }

} // namespace orvane::journal_texts
