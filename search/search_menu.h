#pragma once
// The Edit menu's search command: loads the search dialog when it is not loaded, fills its search
// box from the main window's selection and brings it forward. It owns only a guarded pointer.

#include "form2.h"

#include "host/host.h"

#include <QPointer>

class QWidget;

namespace orvane {

class SearchMenu {
public:
    SearchMenu(Host &host, QWidget *owner);

    void SearchMenu_Click();

    // The loaded dialog, or null when it is not loaded.
    Form2 *form2() const { return m_form2; }

private:
    Host &m_host;
    QWidget *m_owner;
    QPointer<Form2> m_form2;
};

} // namespace orvane
