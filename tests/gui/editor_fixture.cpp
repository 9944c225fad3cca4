#include "tests/gui/editor_fixture.h"

#include <stdexcept>

#include "app/core/project_store.h"
#include "tests/support/rally_builders.h"
#include "tests/support/test_videos.h"

namespace rallinox::guitest {

namespace fs = std::filesystem;

fs::path makeMatchVideo(const GuiRun& run, const std::string& name, int seconds) {
    const fs::path file = run.folder() / name;
    if (!test::writeTestVideo(file.string(), {320, 240, 25, double(seconds), 48000})) throw std::runtime_error("ffmpeg could not make " + file.string());
    return file;
}

Project readyProject(const GuiRun& run, const fs::path& video, double durationSec,
                     const std::vector<std::pair<double, double>>& spans) {
    Project project = ProjectStore(run.dataDir() / "projects").create(video.string());
    project.state = ProjectState::Ready;
    project.videoDurationSec = durationSec;
    project.videoFps = 25;
    project.videoWidth = 320;
    project.videoHeight = 240;
    const Project timed = test::makeProject(spans, durationSec);
    project.rallies = timed.rallies;
    project.nextRallyId = timed.nextRallyId;
    return project;
}

Project sampleProject(const GuiRun& run, const fs::path& video, double durationSec) {
    Project project = readyProject(run, video, durationSec, {{5, 12}, {20, 31}, {40, 44}});
    project.name = "Saturday final";
    project.rallies[1].name = "Long one";
    ReviewHint missed;
    missed.kind = HintKind::Missed;
    missed.startSec = 14;
    missed.endSec = 18;
    project.hints.push_back(missed);
    project.stats.totalSec = 9.5;
    project.stats.realtimeX = 6.3;
    project.stats.stage1Fps = 160;
    project.stats.decoder = "software";
    return project;
}

void saveProject(const GuiRun& run, const Project& project) {
    const ProjectStore store(run.dataDir() / "projects");
    if (!store.save(project)) throw std::runtime_error("could not save the project for the test");
}

Project loadProject(const GuiRun& run, const std::string& id) {
    const ProjectStore store(run.dataDir() / "projects");
    std::optional<Project> project = store.load(id);
    if (!project) throw std::runtime_error("the project " + id + " cannot be read back");
    return *project;
}

}  // namespace rallinox::guitest
