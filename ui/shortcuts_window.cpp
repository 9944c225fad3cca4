// PLACEHOLDER until the real panel lands.
#include "ui/shortcuts_window.h"

#include <imgui.h>

#include "app/app.h"

namespace rallinox::ui {

void drawShortcutsWindow(App& app) { app.editor.shortcutsRequested = false; }

}  // namespace rallinox::ui
