// PLACEHOLDER until the real panel lands.
#include "ui/rally_list.h"

#include <imgui.h>

#include "app/app.h"

namespace rallinox::ui {

void drawRallyList(App&) { ImGui::TextDisabled("rally list"); }

}  // namespace rallinox::ui
