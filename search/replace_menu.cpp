#include "replace_menu.h"

namespace orvane {

ReplaceMenu::ReplaceMenu(Host &host, QWidget *owner)
    : m_host(host)
    , m_owner(owner)
{
}

void ReplaceMenu::ReplaceMenu_Click()
{
    if (!m_dialog)
        m_dialog = new ReplaceDialog(m_host, m_owner);
    // Only a short selection is read: a long one is no search string and is left where it is.
    m_dialog->prepare(m_host.Text1.selLength() <= ReplaceDialog::selectionAsPatternBound
                          ? m_host.Text1.selText()
                          : QString());
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

} // namespace orvane
