// The "Score" tab: match setup, the winner of each rally and the running score.
#pragma once

#include "edit/match_score.h"

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawScoreTab(App& app);

// The scoring actions on the highlighted rally, for the tab's buttons and the
// keys; each brings the Score tab to the front and saves what it changed.
// The team on that side of the picture won it (keys 1 / 2).
void scoreHighlightedRally(App& app, Side side);
// Keys 0 and Backspace.
void clearHighlightedWinner(App& app);
// Key S; nothing for the first rally.
void toggleSetStart(App& app);
// Key U: the next rally without a winner, going round to the start of the list.
void goToNextUnscored(App& app);

}  // namespace rallinox::ui
