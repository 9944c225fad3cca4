// PLACEHOLDER until the real panel lands.
#include "ui/export_dialog.h"

#include <imgui.h>

#include "app/app.h"

namespace rallinox::ui {

void openExportDialog(App&, int64_t) {}
void drawExportDialog(App&) {}

}  // namespace rallinox::ui
