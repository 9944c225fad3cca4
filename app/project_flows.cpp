#include "app/project_flows.h"

#include <filesystem>

#include "app/log.h"
#include "video/probe.h"

namespace rallinox {

NewProjectResult createProjectFromVideo(const ProjectStore& store, const Settings& settings,
                                        const std::string& videoPath) {
    VideoInfo info;
    std::string error;
    if (!probe(videoPath, info, error)) return {std::nullopt, error};

    Project project = store.create(videoPath);
    project.videoDurationSec = info.durationSec;
    project.videoFps = info.fps;
    project.videoWidth = info.width;
    project.videoHeight = info.height;
    project.settings.startPaddingSec = settings.startPaddingSec;
    project.settings.endPaddingSec = settings.endPaddingSec;
    project.settings.minRallySec = settings.minRallySec;
    if (SaveResult saved = store.save(project); !saved) return {std::nullopt, saved.message};
    logInfo("new project " + project.id);
    return {std::move(project), ""};
}

OpenProjectResult loadProjectForEditor(const ProjectStore& store, const std::string& id) {
    std::optional<Project> project = store.load(id);
    if (!project) return {OpenStatus::Unreadable, std::nullopt};
    std::error_code ignored;
    const bool videoThere = std::filesystem::exists(std::filesystem::path(project->videoPath), ignored);
    return {videoThere ? OpenStatus::Ready : OpenStatus::VideoMissing, std::move(project)};
}

std::optional<Project> relocateVideo(const ProjectStore& store, const std::string& id, const std::string& newVideoPath) {
    std::optional<Project> project = store.load(id);
    if (!project) return std::nullopt;
    project->videoPath = newVideoPath;
    store.save(*project);
    return project;
}

std::vector<Project> readProjectList(const ProjectStore& store) {
    ProjectList list = store.list();
    for (const std::string& message : list.errors) logError(message);
    return std::move(list.projects);
}

}  // namespace rallinox
