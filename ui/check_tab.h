// The "To check" tab: the doubtful places of the analysis, worked through one by one.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawCheckTab(App& app);

}  // namespace rallinox::ui
