#pragma once
// The file dialog adapter: Qt's own (non-native) QFileDialog, so that it speaks Japanese on every
// desktop, driven by the CommonDialog properties. It keeps no dialog between calls.

#include "host/common_dialog.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace orvane {

class QtCommonDialog final : public CommonDialog {
public:
    explicit QtCommonDialog(QWidget *parent = nullptr)
        : m_parent(parent)
    {
    }
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    // Flags: 0x1000 the file must exist, 0x800 its folder must exist, 0x2 ask before overwriting.
    // FilterIndex picks the file type shown first; on OK it is the one the user chose. Save shows
    // Choices, when there are any, as a list labelled ChoiceLabel below the file types.
    void ShowOpen() override;
    void ShowSave() override;

    // "desc|pattern|desc|pattern" as Qt name filters ("desc (pattern)"); ';' separates patterns.
    static QStringList nameFilters(const QString &filter);

private:
    void show(bool save);

    QPointer<QWidget> m_parent;
};

} // namespace orvane
