// PLACEHOLDER until the real panel lands.
#include "ui/trim_strip.h"

#include <imgui.h>

#include "app/app.h"

namespace rallinox::ui {

void drawTrimStrip(App&, float width) { ImGui::Dummy(ImVec2(width, 34)); }

}  // namespace rallinox::ui
