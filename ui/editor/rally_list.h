// The "Rallies" tab: one row per rally with its tick, name, start, length, break and score.
#pragma once

#include <cstdint>
#include <vector>

#include "app/core/project.h"

namespace rallinox::ui {

struct EditorContext;

// The rename in progress and the row the list last scrolled to.
struct RallyListState {
    int64_t renameTarget = 0;
    char renameText[96] = {};
    // The rename field takes the keyboard on its first frame.
    bool renameNeedsFocus = false;
    int64_t lastScrolledToId = 0;
};

// The narrowest side panel in which the list's fixed columns and a default
// rally name fit.
float rallyListMinimumWidth(const std::vector<Rally>& rallies);

void drawRallyList(EditorContext& editor);

}  // namespace rallinox::ui
