#include "scripted_message_box.h"

#include <QTest>

#include <stdexcept>

namespace orvane::test {

ScriptedMessageBox &ScriptedMessageBox::answer(MsgBoxAnswer answer, std::function<void()> before)
{
    m_answers.append({answer, std::move(before)});
    return *this;
}

MsgBoxAnswer ScriptedMessageBox::msgBox(const QString &prompt, int style, const QString &title)
{
    m_shown.append({prompt, style, title});
    if (m_answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected message box: ") + prompt), __FILE__, __LINE__);
        throw std::logic_error("unexpected message box");
    }
    auto [answer, before] = m_answers.takeFirst();
    if (before)
        before();
    return answer;
}

} // namespace orvane::test
