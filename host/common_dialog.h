#pragma once
// The Open and Save As file dialogs: FileName is the name shown first and, on OK, the chosen file.
// With CancelError set, cancelling a dialog throws HostError(DialogCancelled).

#include <QString>
#include <QStringList>

namespace orvane {

enum DialogFlags : int {
    OFN_OVERWRITEPROMPT = 0x2,
    OFN_HIDEREADONLY = 0x4,
    OFN_PATHMUSTEXIST = 0x800,
    OFN_FILEMUSTEXIST = 0x1000,
};

class CommonDialog {
public:
    virtual ~CommonDialog() = default;

    QString FileName; // empty: no initial name
    QString Filter; // "description|pattern|description|pattern"
    int FilterIndex = 1; // 1-based: the file type shown first, and on OK the one chosen
    QString DefaultExt; // ".txt"
    // A second list beside the file types, shown when it has items: its label, its
    // items, and the 0-based item shown first and, on OK, the one chosen.
    QString ChoiceLabel;
    QStringList Choices;
    int ChoiceIndex = 0;
    int Flags = 0;
    bool CancelError = false;

    // On OK, FileName holds the chosen file's full path and FilterIndex its file type.
    virtual void ShowOpen() = 0;
    virtual void ShowSave() = 0;
};

} // namespace orvane
