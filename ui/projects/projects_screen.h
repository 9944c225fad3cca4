// The start screen: the title, the way to start a project from a video and
// the projects found on disk.
#pragma once

#include <optional>
#include <vector>

#include "ui/kit/app_actions.h"

namespace rallinox {
struct Project;
}

namespace rallinox::ui {

class FileDialogs;
class ThumbnailCache;

// What the screen and its cards work on, for one frame.
struct ProjectsContext {
    const std::vector<Project>& projects;  // newest first
    // The running analysis, or none.
    std::optional<AnalysisView> analysis;
    ThumbnailCache& thumbnails;
    FileDialogs& fileDialogs;
    AppActions& actions;
};

void drawProjectsScreen(ProjectsContext& screen);

}  // namespace rallinox::ui
