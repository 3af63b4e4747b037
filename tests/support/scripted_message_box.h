#pragma once
// A message box that answers from a script and records every prompt; a prompt that the script
// does not expect fails the running test at once.

#include "host/message_box.h"

#include <QList>

#include <functional>
#include <utility>

namespace orvane::test {

struct ShownMessage {
    QString prompt;
    int style = 0;
    QString title;
};

class ScriptedMessageBox final : public MessageBox {
public:
    // Queues the answer for the next prompt; before, when given, runs first (to lift a lock or a
    // limit before a Retry).
    ScriptedMessageBox &answer(MsgBoxAnswer answer, std::function<void()> before = {});
    MsgBoxAnswer msgBox(const QString &prompt, int style, const QString &title) override;

    const QList<ShownMessage> &shown() const { return m_shown; }
    bool allAnswersUsed() const { return m_answers.isEmpty(); }

private:
    QList<std::pair<MsgBoxAnswer, std::function<void()>>> m_answers;
    QList<ShownMessage> m_shown;
};

} // namespace orvane::test
