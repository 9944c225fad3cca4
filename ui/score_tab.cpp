// PLACEHOLDER until the real panel lands.
#include "ui/score_tab.h"

#include <imgui.h>

#include "app/app.h"

namespace rallinox::ui {

void drawScoreTab(App&) { ImGui::TextDisabled("score"); }

}  // namespace rallinox::ui
