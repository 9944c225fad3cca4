#include "tools/analyze/project_output.h"

#include "app/jobs/analysis_merge.h"
#include "app/jobs/project_flows.h"
#include "app/core/project_store.h"

namespace rallinox {

std::filesystem::path saveAnalysedProject(const std::filesystem::path& projectsDir, const std::string& videoPath,
                                          const Settings& settings, const AnalysisResult& result, std::string& error) {
    const ProjectStore store(projectsDir);
    std::error_code ignored;
    // The window finds the video from anywhere, so the project keeps its absolute path.
    const std::string absoluteVideo = std::filesystem::absolute(videoPath, ignored).lexically_normal().string();
    NewProjectResult created = createProjectFromVideo(store, settings, absoluteVideo);
    if (!created.project) {
        error = created.error;
        return {};
    }
    Project& project = *created.project;
    mergeAnalysis(project, result);
    if (SaveResult saved = store.save(project); !saved) {
        store.remove(project.id);
        error = saved.message;
        return {};
    }
    return store.projectDir(project.id);
}

}  // namespace rallinox
