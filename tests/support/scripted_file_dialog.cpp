#include "scripted_file_dialog.h"

#include "host/host_error.h"

#include <QTest>

#include <stdexcept>

namespace orvane::test {

ScriptedFileDialog &ScriptedFileDialog::choose(const QString &path)
{
    m_answers.append(path);
    return *this;
}

ScriptedFileDialog &ScriptedFileDialog::cancel()
{
    m_answers.append(std::nullopt);
    return *this;
}

void ScriptedFileDialog::show(ShownDialog::Kind kind)
{
    m_shown.append({kind, Flags, FileName});
    if (m_answers.isEmpty()) {
        QTest::qFail("unexpected file dialog", __FILE__, __LINE__);
        throw std::logic_error("unexpected file dialog");
    }
    const std::optional<QString> answer = m_answers.takeFirst();
    if (!answer) {
        if (CancelError)
            throw HostError(ErrorNumber::DialogCancelled, QStringLiteral("キャンセルされました。"));
        return;
    }
    FileName = *answer;
}

} // namespace orvane::test
