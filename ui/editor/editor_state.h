// What the editor screen remembers while the program runs (never saved):
// player options, the project name being edited, and each panel's own state.
#pragma once

#include "ui/editor/board_textures.h"
#include "ui/editor/check_tab.h"
#include "ui/editor/rally_list.h"
#include "ui/editor/score_tab.h"
#include "ui/editor/trim_strip.h"

namespace rallinox::ui {

inline constexpr double kPlaybackSpeeds[] = {0.5, 1.0, 1.5, 2.0};
inline constexpr const char* kPlaybackSpeedNames[] = {"0.5x", "1x", "1.5x", "2x"};

struct EditorState {
    bool ralliesOnly = true;
    bool sound = true;
    int speedIndex = 1;  // into 0.5x, 1x, 1.5x, 2x
    char projectName[128] = {};
    bool editingProjectName = false;
    bool focusProjectName = false;
    double lastPlayerTime = -1.0;
    bool shortcutsRequested = false;
    // A list change saves the project once, at the end of the frame.
    bool saveAtFrameEnd = false;
    // The scoreboards recently drawn over the preview picture.
    BoardTextures boardTextures;

    RallyListState rallyList;
    TrimDrag trim;
    CheckTabState checkTab;
    ScoreTabState scoreTab;

    // A newly opened project starts with no rename, drag or clip: rally ids repeat between projects.
    void forgetProject() {
        lastPlayerTime = -1.0;
        trim = {};
        rallyList.renameTarget = 0;
        scoreTab.decidingClip.end();
    }
};

}  // namespace rallinox::ui
