// The "Rallies" tab: one row per rally with its tick, name, start, length, break and score.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawRallyList(App& app);

}  // namespace rallinox::ui
