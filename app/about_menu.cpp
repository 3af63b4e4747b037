#include "about_menu.h"

#include "app_texts.h"

namespace orvane {

void AboutMenu_Click(Host &host)
{
    host.messageBox.msgBox(apptexts::aboutPrompt(), Information, apptexts::aboutTitle());
}

} // namespace orvane
