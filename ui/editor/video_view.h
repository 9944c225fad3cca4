// The preview picture with the text over it and, while paused, the play
// symbol; clicking the picture plays or pauses.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawVideoView(App& app, float columnWidth, float height);

}  // namespace rallinox::ui
