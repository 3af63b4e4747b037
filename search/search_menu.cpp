#include "search_menu.h"

#include "form2.h"

namespace orvane {

SearchMenu::SearchMenu(Host &host, QWidget *owner)
    : m_host(host)
    , m_owner(owner)
{
}

void SearchMenu::SearchMenu_Click()
{
    if (!m_form2)
        m_form2 = new Form2(m_host, m_owner);
    // Overwritten even when nothing is selected, so the box then becomes empty.
    m_form2->setSearchText(m_host.Text1.selText());
    m_form2->show();
    m_form2->raise();
    m_form2->activateWindow();
}

} // namespace orvane
