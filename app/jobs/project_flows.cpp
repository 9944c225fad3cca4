#include "app/jobs/project_flows.h"

#include <filesystem>

#include "app/core/log.h"
#include "video/probe.h"

namespace rallinox {

NewProjectResult createProjectFromVideo(const ProjectStore& store, const Settings& settings,
                                        const std::string& givenPath) {
    VideoInfo info;
    std::string error;
    if (!probe(givenPath, info, error)) return {std::nullopt, error};

    // A relative path would point elsewhere once the program starts from another folder.
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(givenPath, ignored);
    const std::string videoPath = absolute.empty() ? givenPath : absolute.string();
    Project project = store.create(videoPath);
    project.videoDurationSec = info.durationSec;
    project.videoFps = info.fps;
    project.videoWidth = info.width;
    project.videoHeight = info.height;
    project.settings.startPaddingSec = settings.startPaddingSec;
    project.settings.endPaddingSec = settings.endPaddingSec;
    project.settings.minRallySec = settings.minRallySec;
    if (SaveResult saved = store.save(project); !saved) {
        // The folder is new (create picks an unused id): nothing half-made stays.
        store.remove(project.id);
        return {std::nullopt, saved.message};
    }
    logInfo("new project " + project.id);
    return {std::move(project), ""};
}

OpenProjectResult loadProjectForEditor(const ProjectStore& store, const std::string& id) {
    std::optional<Project> project = store.load(id);
    if (!project) return {OpenStatus::Unreadable, std::nullopt, ""};
    std::string error;
    if (checkIsVideoFile(project->videoPath, error)) return {OpenStatus::Ready, std::move(project), ""};
    if (isMissingFile(project->videoPath)) return {OpenStatus::VideoMissing, std::move(project), ""};
    return {OpenStatus::NotAVideoFile, std::move(project), error};
}

std::optional<Project> relocateVideo(const ProjectStore& store, const std::string& id, const std::string& newVideoPath) {
    std::optional<Project> project = store.load(id);
    if (!project) return std::nullopt;
    std::string ignored;
    if (!checkIsVideoFile(newVideoPath, ignored)) return std::nullopt;
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
