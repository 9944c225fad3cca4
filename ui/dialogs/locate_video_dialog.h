// "Where is the video?": shown while a project's video is not where the
// project says; lets the user point at its new place.
#pragma once

#include <string>

namespace rallinox {
class ProjectStore;
}

namespace rallinox::ui {

class AppActions;
class FileDialogs;

// Drawn every frame while the request (the project's id) is set; cleared when
// the user answers.
void drawLocateVideoDialog(std::string& request, ProjectStore& store, FileDialogs& fileDialogs, AppActions& actions);

}  // namespace rallinox::ui
