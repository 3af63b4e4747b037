#pragma once
// At start, before anything else: the journals that windows now gone left are offered back, one
// question each. はい restores one into this window (its text as at the last edit, its file's name,
// encoding and line ends, Modified True, the file on disk untouched); いいえ deletes it. Nothing is
// deleted without that answer: a journal that cannot be restored is set aside, and the message
// says where.

#include "host/host.h"
#include "journal/journal.h"

#include <functional>

namespace orvane {

// Offers the pending journals of folder. After one is restored, any left unasked are offered in a
// new window (startWindow is called once). Returns whether one was restored here.
bool offerJournals(Host &host, journal::Journal &journal, const QString &folder,
                   const std::function<void()> &startWindow);

} // namespace orvane
