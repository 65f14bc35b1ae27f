#pragma once
// Program-wide texts set up at start: where the player page and the configuration file live,
// and the installed version. Workers read them, so they are published whole.

#include "text/SharedText.h"

namespace ui {

extern text::SharedText playerPagePath; // run directory + "岚影目录.htm" (UTF-8 path)
extern text::SharedText configPath;     // documents folder + "岚影迷_配置.ini" (UTF-8 path)
extern text::SharedText localVersion;   // the installed version, "1.2" or newer

} // namespace ui
