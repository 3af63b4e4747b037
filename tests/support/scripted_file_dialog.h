#pragma once
// A file dialog that answers from a script: each show takes the next path, or cancels.
// It records the Flags and the initial file name it was shown with.

#include "host/common_dialog.h"

#include <QList>
#include <optional>

namespace orvane::test {

struct ShownDialog {
    enum Kind { Open, Save } kind;
    int flags;
    QString initialFileName;
};

class ScriptedFileDialog final : public CommonDialog {
public:
    ScriptedFileDialog &choose(const QString &path);
    ScriptedFileDialog &cancel();

    void ShowOpen() override { show(ShownDialog::Open); }
    void ShowSave() override { show(ShownDialog::Save); }

    const QList<ShownDialog> &shown() const { return m_shown; }
    bool allAnswersUsed() const { return m_answers.isEmpty(); }

private:
    void show(ShownDialog::Kind kind);

    QList<std::optional<QString>> m_answers;
    QList<ShownDialog> m_shown;
};

} // namespace orvane::test
