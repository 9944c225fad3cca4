// The "To check" tab: the doubtful places of the analysis, worked through one by one.
#pragma once

#include <imgui.h>

#include <string>

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawCheckTab(App& app);

// "To check (N)###check" with the number of open hints.
std::string checkTabTitle(const App& app);
// Once per frame: stops playback at the end of the hint's window.
void updateHintReview(App& app);
// The hint in focus on the timeline (left, top, width, height in pixels),
// while the tab is in front.
void drawHintTimelineMarks(const App& app, ImDrawList* draw, ImVec2 topLeft, ImVec2 size, double durationSec);
// The hint in focus over the picture while the player is near its window,
// and while the tab is in front: what is being checked and where the player is.
void drawHintPictureMarks(const App& app, ImDrawList* draw, ImVec2 imageMin, ImVec2 imageMax);

}  // namespace rallinox::ui
