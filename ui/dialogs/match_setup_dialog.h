// The "Match setup" dialog of the Score tab: team names and the rules.
#pragma once

namespace rallinox {
struct MatchSetup;
}

namespace rallinox::ui {

class AppActions;

// Copies the team names into the dialog's fields and opens it.
void openMatchSetup(const MatchSetup& match);
// Every frame while the Score tab is shown. The rules apply at once; the
// names, and the saving, on "Done".
void drawMatchSetup(MatchSetup& match, AppActions& actions);

}  // namespace rallinox::ui
