// The settings screen: paddings of rally detection, the export folder and
// the export options.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawSettingsScreen(App& app);

}  // namespace rallinox::ui
