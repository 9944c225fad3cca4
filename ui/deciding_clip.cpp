// PLACEHOLDER until the real panel lands.
#include "ui/deciding_clip.h"

#include <imgui.h>

#include "app/app.h"

namespace rallinox::ui {

void updateDecidingClip(App&) {}
bool decidingClipActive(const App&) { return false; }
std::string decidingClipText(const App&) { return {}; }
void drawDecidingClipMarks(const App&, ImDrawList*, ImVec2, ImVec2, double) {}

}  // namespace rallinox::ui
