// One project on the projects screen: picture, name, facts, the result of
// its analysis or the progress of the running one, and its buttons.
#pragma once

#include <string>

#include "app/core/project.h"

namespace rallinox::ui {

struct ProjectsContext;

// "Delete" and "Delete project..." set `pendingDelete` to the project's id;
// the screen asks before anything is removed.
void drawProjectCard(ProjectsContext& screen, const Project& project, std::string& pendingDelete);

}  // namespace rallinox::ui
