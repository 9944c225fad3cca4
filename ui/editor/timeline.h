// The whole match as one bar: the rallies, the unscored and unchecked marks,
// the playhead; clicking or dragging on it moves the player.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawTimeline(App& app, float width);

}  // namespace rallinox::ui
