#include "scripted_file_dialog.h"

#include "host/host_error.h"

#include <QTest>

#include <stdexcept>

namespace orvane::test {

ScriptedFileDialog &ScriptedFileDialog::choose(const QString &path, int filterIndex, int choiceIndex)
{
    m_answers.append(Answer {path, filterIndex, choiceIndex});
    return *this;
}

ScriptedFileDialog &ScriptedFileDialog::cancel()
{
    m_answers.append(std::nullopt);
    return *this;
}

void ScriptedFileDialog::show(ShownDialog::Kind kind)
{
    m_shown.append({kind, Flags, FileName, Filter, FilterIndex, Choices, ChoiceIndex});
    if (m_answers.isEmpty()) {
        QTest::qFail("unexpected file dialog", __FILE__, __LINE__);
        throw std::logic_error("unexpected file dialog");
    }
    const std::optional<Answer> answer = m_answers.takeFirst();
    if (!answer) {
        if (CancelError)
            throw HostError(ErrorNumber::DialogCancelled, QStringLiteral("キャンセルされました。"));
        return;
    }
    FileName = answer->path;
    if (answer->filterIndex != 0)
        FilterIndex = answer->filterIndex;
    if (answer->choiceIndex >= 0)
        ChoiceIndex = answer->choiceIndex;
}

} // namespace orvane::test
