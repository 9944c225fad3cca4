// The export dialog: what to export, where, and the options of the exported video.
#pragma once

#include <cstdint>

namespace rallinox {
class App;
}

namespace rallinox::ui {

// onlyRallyId 0: the ticked rallies; otherwise that rally alone.
void openExportDialog(App& app, int64_t onlyRallyId = 0);
void drawExportDialog(App& app);

}  // namespace rallinox::ui
