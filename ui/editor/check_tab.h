// The "To check" tab: the doubtful places of the analysis, worked through one by one.
#pragma once

#include <imgui.h>

#include <string>

#include "edit/hint_review.h"

namespace rallinox::ui {

struct EditorContext;

struct CheckTabState {
    // The walk through the review hints.
    HintReview hintReview;
    // The frame in which the tab was last drawn: its marks show only while it is in front.
    int lastDrawnFrame = -10;
};

void drawCheckTab(EditorContext& editor);

// "To check (N)###check" with the number of open hints.
std::string checkTabTitle(const EditorContext& editor);
// Once per frame: stops playback at the end of the hint's window.
void updateHintReview(EditorContext& editor);
// The hint in focus on the timeline (left, top, width, height in pixels),
// while the tab is in front.
void drawHintTimelineMarks(const EditorContext& editor, ImDrawList* draw, ImVec2 topLeft, ImVec2 size,
                           double durationSec);
// The hint in focus over the picture while the player is near its window,
// and while the tab is in front: what is being checked and where the player is.
void drawHintPictureMarks(const EditorContext& editor, ImDrawList* draw, ImVec2 imageMin, ImVec2 imageMax);

}  // namespace rallinox::ui
