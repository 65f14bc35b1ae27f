#include "ui/ProgramState.h"

namespace ui {
text::SharedText playerPagePath;
text::SharedText configPath;
text::SharedText localVersion;
} // namespace ui
