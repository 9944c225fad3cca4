// The row of edit buttons under the player, acting on the highlighted rally at the current time.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawEditBar(App& app);

}  // namespace rallinox::ui
