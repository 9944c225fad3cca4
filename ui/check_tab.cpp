// PLACEHOLDER until the real panel lands.
#include "ui/check_tab.h"

#include <imgui.h>

#include "app/app.h"

namespace rallinox::ui {

void drawCheckTab(App&) { ImGui::TextDisabled("to check"); }

}  // namespace rallinox::ui
