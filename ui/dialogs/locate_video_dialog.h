// "Where is the video?": shown while a project's video is not where the
// project says; lets the user point at its new place.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

// Drawn every frame while the application's locate request is set.
void drawLocateVideoDialog(App& app);

}  // namespace rallinox::ui
