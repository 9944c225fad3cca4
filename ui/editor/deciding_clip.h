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

// R plays the clip of the highlighted rally, M shows 5 s more of it; both
// bring the Score tab to the front.
void playDecidingClip(App& app, bool showMore);
// "Whole rally": the highlighted rally from its start to its end.
void playWholeRally(App& app);
// Highlights the rally at that list position and plays its clip (next
// unscored, the advance after scoring).
void playClipOfRally(App& app, int index);
// N (+1) and P (-1) while a clip is active: the neighbouring rally's clip;
// nothing at either end of the list.
void playNeighbourClip(App& app, int step);
// The explanation of the highlighted rally's clip, for the Score tab.
std::string highlightedClipText(const App& app);

}  // namespace rallinox::ui
