// PLACEHOLDER until the real panel lands.
#include "ui/scoreboard_preview.h"

#include <imgui.h>

#include "app/app.h"

namespace rallinox::ui {

int drawScoreboardPreview(App&, ImDrawList*, ImVec2, ImVec2) { return -1; }

}  // namespace rallinox::ui
