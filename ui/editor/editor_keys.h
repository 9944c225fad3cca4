// The editor's keyboard commands and moving to the next or previous rally.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

// Each frame, while no text field has the keyboard and no popup is open.
void handleEditorKeys(App& app);
void goToNextRally(App& app);
void goToPreviousRally(App& app);

}  // namespace rallinox::ui
