// The small window in the bottom-right corner that shows a running analysis
// while another screen than the projects is shown.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawAnalysisPill(const App& app);

}  // namespace rallinox::ui
