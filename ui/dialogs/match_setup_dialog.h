// The "Match setup" dialog of the Score tab: team names and the rules.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

// Copies the team names into the dialog's fields and opens it.
void openMatchSetup(App& app);
// Every frame while the Score tab is shown. The rules apply at once; the
// names, and the saving, on "Done".
void drawMatchSetup(App& app);

}  // namespace rallinox::ui
