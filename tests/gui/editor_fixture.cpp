#include "tests/gui/editor_fixture.h"

#include <cstdlib>
#include <stdexcept>

#include "app/project_store.h"

namespace rallinox::guitest {

namespace fs = std::filesystem;

fs::path makeMatchVideo(const GuiRun& run, const std::string& name, int seconds) {
    const fs::path file = run.folder() / name;
    const std::string length = std::to_string(seconds);
    const std::string command = "ffmpeg -v error -y -f lavfi -i testsrc2=size=640x360:rate=25 -f lavfi -i "
                                "sine=frequency=440:sample_rate=48000 -t " +
                                length + " -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac '" +
                                file.string() + "'";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("ffmpeg could not make " + file.string());
    return file;
}

Project sampleProject(const fs::path& video, double durationSec) {
    Project project;
    project.id = "p20261209_100000000";
    project.name = "Saturday final";
    project.videoPath = video.string();
    project.videoDurationSec = durationSec;
    project.videoFps = 25;
    project.videoWidth = 640;
    project.videoHeight = 360;
    project.state = ProjectState::Ready;
    const double spans[][2] = {{5, 12}, {20, 31}, {40, 44}};
    for (const auto& span : spans) {
        Rally rally;
        rally.id = project.nextRallyId++;
        rally.startSec = span[0];
        rally.endSec = span[1];
        project.rallies.push_back(rally);
    }
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
