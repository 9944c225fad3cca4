// The line under the timeline: previous / play / next, small jumps, the
// time, and the player's options.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawPlayerControls(App& app);
// Play when paused, pause when playing.
void togglePlayback(App& app);

}  // namespace rallinox::ui
