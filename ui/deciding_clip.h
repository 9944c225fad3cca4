// The clip that shows who won a rally (its end or the next serve), played while scoring.
#pragma once

#include <imgui.h>

#include <string>

namespace rallinox {
class App;
}

namespace rallinox::ui {

// Once per frame before the editor follows the playhead.
void updateDecidingClip(App& app);
bool decidingClipActive(const App& app);
// The text shown over the video while a clip plays; empty when none.
std::string decidingClipText(const App& app);
// The clip's marks on the timeline (left, top, width, height in pixels).
void drawDecidingClipMarks(const App& app, ImDrawList* draw, ImVec2 topLeft, ImVec2 size, double durationSec);

}  // namespace rallinox::ui
