// The editor: one open project with its header, figures, the preview player
// with its timeline and controls, and the side panel with the rallies, the
// places to check and the score.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawEditorScreen(App& app);

}  // namespace rallinox::ui
