// What the editor screen remembers while the program runs (never saved):
// player options, the text being edited and the drags in progress.
#pragma once

#include <cstdint>
#include <string>

#include "edit/deciding_clip.h"
#include "edit/hint_review.h"
#include "ui/editor/board_textures.h"

namespace rallinox::ui {

inline constexpr double kPlaybackSpeeds[] = {0.5, 1.0, 1.5, 2.0};
inline constexpr const char* kPlaybackSpeedNames[] = {"0.5x", "1x", "1.5x", "2x"};

struct TrimDrag {
    int64_t rallyId = 0;
    int handle = 0;  // 1 = start, 2 = end, 0 = none
    double timeSec = 0.0;
};

struct EditorState {
    bool ralliesOnly = true;
    bool sound = true;
    int speedIndex = 1;  // into 0.5x, 1x, 1.5x, 2x
    char projectName[128] = {};
    bool editingProjectName = false;
    bool focusProjectName = false;
    double lastPlayerTime = -1.0;

    int64_t renameTarget = 0;
    char renameText[96] = {};
    int64_t lastScrolledToId = 0;
    TrimDrag trim;

    bool shortcutsRequested = false;
    // A list change saves the project once, at the end of the frame.
    bool saveAtFrameEnd = false;
    // The scoreboards recently drawn over the preview picture.
    BoardTextures boardTextures;
    // The rally list's rename field takes the keyboard on its first frame.
    bool renameNeedsFocus = false;

    // The walk through the review hints, and the frame in which the "To check"
    // tab was last drawn (its marks show only while it is in front).
    HintReview hintReview;
    int checkTabFrame = -10;
    // The clip that shows who won a rally; scoring may go on to the next one's clip.
    DecidingClip decidingClip;
    bool advanceAfterScoring = true;
    // Asks the side panel to bring the Score tab to the front once.
    bool showScoreTab = false;
    // The team names while "Match setup" is open.
    char homeName[64] = {};
    char awayName[64] = {};

    // The export dialog: whether it is shown, its scope (0 ticked, 1 all,
    // 2 the highlighted rally), its choices for this session, and the file
    // (or folder) and start time of its export.
    bool exportDialogOpen = false;
    int exportScope = 0;
    bool exportEachRally = false;
    bool exportFast = false;
    bool exportTimeline = false;
    int exportTimelineFormat = 0;  // a TimelineFormat
    bool exportRallyList = false;
    std::string exportOutputPath;
    double exportStartTime = 0;
};

}  // namespace rallinox::ui
