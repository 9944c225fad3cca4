// A project read from its folder or its project.json, for the command line.
#pragma once

#include <optional>
#include <string>

#include "app/core/project.h"

namespace rallinox {

struct LoadedProject {
    std::optional<Project> project;
    std::string error;  // for the user when there is no project
};

LoadedProject loadProjectFile(const std::string& folderOrFile);

}  // namespace rallinox
