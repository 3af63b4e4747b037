#pragma once
// A file dialog that answers from a script: each show takes the next path (and file type), or
// cancels. It records the Flags, the initial file name and the file types it was shown with.

#include "host/common_dialog.h"

#include <QList>
#include <optional>

namespace orvane::test {

struct ShownDialog {
    enum Kind { Open, Save } kind;
    int flags;
    QString initialFileName;
    QString filter;
    int filterIndex;
    QStringList choices;
    int choiceIndex;
};

class ScriptedFileDialog final : public CommonDialog {
public:
    // A filterIndex of 0 leaves the file type as shown, a choiceIndex of -1 the second choice.
    ScriptedFileDialog &choose(const QString &path, int filterIndex = 0, int choiceIndex = -1);
    ScriptedFileDialog &cancel();

    void ShowOpen() override { show(ShownDialog::Open); }
    void ShowSave() override { show(ShownDialog::Save); }

    const QList<ShownDialog> &shown() const { return m_shown; }
    bool allAnswersUsed() const { return m_answers.isEmpty(); }

private:
    void show(ShownDialog::Kind kind);

    struct Answer {
        QString path;
        int filterIndex;
        int choiceIndex;
    };
    QList<std::optional<Answer>> m_answers;
    QList<ShownDialog> m_shown;
};

} // namespace orvane::test
