#pragma once
// The message box adapter: a QMessageBox with the host's numeric styles and Japanese buttons.
// It owns nothing; each call shows one modal box over the parent window.

#include "host/message_box.h"

#include <QPointer>
#include <QWidget>

namespace orvane {

class QtMessageBox final : public MessageBox {
public:
    explicit QtMessageBox(QWidget *parent = nullptr)
        : m_parent(parent)
    {
    }
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    // Styles 0 (OK), 1 (OK, Cancel), 3 (Yes, No, Cancel), 4 (Yes, No), 5 (Retry, Cancel), plus
    // the icon 16, 32, 48 or 64. Esc answers Cancel where the box has a Cancel button.
    MsgBoxAnswer msgBox(const QString &prompt, int style, const QString &title) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace orvane
