#include "about_menu.h"

#include "app_texts.h"

namespace orvane {

void AboutMenu_Click(Host &host)
{
    host.messageBox.msgBox(app_texts::aboutPrompt(), Information, app_texts::aboutTitle());
}

} // namespace orvane
