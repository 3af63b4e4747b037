#include "scripted_message_box.h"

#include <QTest>

#include <stdexcept>

namespace orvane::test {

ScriptedMessageBox &ScriptedMessageBox::answer(MsgBoxAnswer answer)
{
    m_answers.append(answer);
    return *this;
}

MsgBoxAnswer ScriptedMessageBox::msgBox(const QString &prompt, int style, const QString &title)
{
    m_shown.append({prompt, style, title});
    if (m_answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected message box: ") + prompt), __FILE__, __LINE__);
        throw std::logic_error("unexpected message box");
    }
    return m_answers.takeFirst();
}

} // namespace orvane::test
