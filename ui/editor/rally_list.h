// The "Rallies" tab: one row per rally with its tick, name, start, length, break and score.
#pragma once

#include <cstdint>

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

void drawRallyList(EditorContext& editor);

}  // namespace rallinox::ui
