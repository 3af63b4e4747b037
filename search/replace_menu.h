#pragma once
// The Edit menu's replace command: loads the replace dialog when it is not loaded, fills it from
// the selection or the last search and brings it forward. Owns only a guarded pointer.

#include "replace_dialog.h"

#include "host/host.h"

#include <QPointer>

class QWidget;

namespace orvane {

class ReplaceMenu {
public:
    ReplaceMenu(Host &host, QWidget *owner);

    void ReplaceMenu_Click();

    // The loaded dialog, or null when it is not loaded.
    ReplaceDialog *dialog() const { return m_dialog; }

private:
    Host &m_host;
    QWidget *m_owner;
    QPointer<ReplaceDialog> m_dialog;
};

} // namespace orvane
