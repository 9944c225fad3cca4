// What the editor screen remembers while the program runs (never saved):
// player options, the text being edited and the drags in progress.
#pragma once

#include <cstdint>
#include <string>

namespace rallinox::ui {

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
    double lastPlayerTime = -1.0;
    bool analyseAgainRequested = false;

    int64_t renameTarget = 0;
    char renameText[96] = {};
    int64_t lastScrolledToId = 0;
    TrimDrag trim;

    bool shortcutsRequested = false;
    // A list change saves the project once, at the end of the frame.
    bool saveAtFrameEnd = false;

    // The export dialog: whether it is shown, its scope (0 ticked, 1 all,
    // 2 the highlighted rally), and the file and start time of its export.
    bool exportDialogOpen = false;
    int exportScope = 0;
    std::string exportOutputPath;
    double exportStartTime = 0;
};

}  // namespace rallinox::ui
