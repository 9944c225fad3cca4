// The clip that shows who won a rally (its end or the next serve), played while scoring.
#pragma once

#include <imgui.h>

#include <string>

namespace rallinox::ui {

struct EditorContext;

// Once per frame before the editor follows the playhead.
void updateDecidingClip(EditorContext& editor);
bool decidingClipActive(const EditorContext& editor);
// The text shown over the video while a clip plays; empty when none.
std::string decidingClipText(const EditorContext& editor);
// The clip's marks on the timeline (left, top, width, height in pixels).
void drawDecidingClipMarks(const EditorContext& editor, ImDrawList* draw, ImVec2 topLeft, ImVec2 size,
                           double durationSec);

// R plays the clip of the highlighted rally, M shows 5 s more of it; both
// bring the Score tab to the front.
void playDecidingClip(EditorContext& editor, bool showMore);
// "Whole rally": the highlighted rally from its start to its end.
void playWholeRally(EditorContext& editor);
// Highlights the rally at that list position and plays its clip (next
// unscored, the advance after scoring).
void playClipOfRally(EditorContext& editor, int index);
// N (+1) and P (-1) while a clip is active: the neighbouring rally's clip;
// nothing at either end of the list.
void playNeighbourClip(EditorContext& editor, int step);
// The explanation of the highlighted rally's clip, for the Score tab.
std::string highlightedClipText(const EditorContext& editor);

}  // namespace rallinox::ui
