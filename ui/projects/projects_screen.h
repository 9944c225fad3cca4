// The start screen: the title, the way to start a project from a video and
// the projects found on disk.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

void drawProjectsScreen(App& app);

}  // namespace rallinox::ui
