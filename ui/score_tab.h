// The "Score" tab: match setup, the winner of each rally and the running score.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawScoreTab(App& app);

}  // namespace rallinox::ui
