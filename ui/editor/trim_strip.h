// The strip under the timeline that shows the highlighted rally with handles to trim its start and end.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawTrimStrip(App& app, float width);

}  // namespace rallinox::ui
