// PLACEHOLDER until the real panel lands.
#include "ui/edit_bar.h"

#include <imgui.h>

#include "app/app.h"

namespace rallinox::ui {

void drawEditBar(App&) { ImGui::TextDisabled("edit bar"); }

}  // namespace rallinox::ui
