// The steps of the application's project flows that need no window: making
// a project from a video, preparing one for the editor, pointing a project
// at its moved video and reading the project list. The GUI adds the dialogs,
// the player and the screen changes around them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/core/project.h"
#include "app/core/project_store.h"
#include "app/core/settings.h"

namespace rallinox {

inline constexpr const char* kProjectUnreadableMessage = "This project could not be opened.";

struct NewProjectResult {
    std::optional<Project> project;  // saved, ready to be analysed
    std::string error;               // for the user when there is no project
};

// Probes the video, creates and saves its project with the settings' paddings
// and the video's absolute path. Nothing is left on disk when the video
// cannot be read or the project cannot be saved.
NewProjectResult createProjectFromVideo(const ProjectStore& store, const Settings& settings,
                                        const std::string& videoPath);

enum class OpenStatus { Ready, Unreadable, VideoMissing, NotAVideoFile };

struct OpenProjectResult {
    OpenStatus status = OpenStatus::Unreadable;
    std::optional<Project> project;  // present unless Unreadable
    std::string error;               // for the user when NotAVideoFile
};

// Loads a project for the editor and checks, without opening it, that its
// video is still there and is a regular file.
OpenProjectResult loadProjectForEditor(const ProjectStore& store, const std::string& id);

// Stores the new place of a moved video; nothing when the project cannot be
// read or the new path is not a regular file. A failed save is not reported: the project opens all the same.
std::optional<Project> relocateVideo(const ProjectStore& store, const std::string& id, const std::string& newVideoPath);

// The readable projects, newest first; each unreadable folder is logged.
std::vector<Project> readProjectList(const ProjectStore& store);

}  // namespace rallinox
