#pragma once
// The Help menu's command: the version box.

#include "host/host.h"

namespace orvane {

void AboutMenu_Click(Host &host);

} // namespace orvane
