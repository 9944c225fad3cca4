// The "Score" tab: match setup, the winner of each rally and the running score.
#pragma once

#include "edit/deciding_clip.h"
#include "edit/match_score.h"

namespace rallinox::ui {

struct EditorContext;

struct ScoreTabState {
    // The clip that shows who won a rally; scoring may go on to the next one's clip.
    DecidingClip decidingClip;
    bool advanceAfterScoring = true;
    // Asks the side panel to bring the tab to the front once.
    bool bringToFront = false;
};

void drawScoreTab(EditorContext& editor);

// The scoring actions on the highlighted rally, for the tab's buttons and the
// keys; each brings the Score tab to the front and saves what it changed.
// The team on that side of the picture won it (keys 1 / 2).
void scoreHighlightedRally(EditorContext& editor, Side side);
// Keys 0 and Backspace.
void clearHighlightedWinner(EditorContext& editor);
// Key S; nothing for the first rally.
void toggleSetStart(EditorContext& editor);
// Key U: the next rally without a winner, going round to the start of the list.
void goToNextUnscored(EditorContext& editor);

}  // namespace rallinox::ui
