#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <iterator>

#include "app/core/log.h"
#include "app/jobs/project_flows.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

class ProjectFlows : public ::testing::Test {
protected:
    void SetUp() override { openLog(dir / "rallinox.log"); }
    void TearDown() override { closeLog(); }

    // A 2-second 160x120 test picture at 25 frames per second.
    fs::path makeVideo(const std::string& name) {
        const fs::path video = dir / name;
        const std::string command = "ffmpeg -v error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=2 "
                                    "-c:v libx264 -pix_fmt yuv420p '" + video.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return video;
    }
    std::string log() const { return test::readFile(dir / "rallinox.log"); }
    size_t projectFolders() const {
        std::error_code ignored;
        return static_cast<size_t>(std::distance(fs::directory_iterator(store.projectsDir(), ignored), {}));
    }

    test::TempDir dir;
    ProjectStore store{dir / "projects"};
    Settings settings;
};

TEST_F(ProjectFlows, NewProjectTakesTheProbedVideoAndThePaddings) {
    const fs::path video = makeVideo("Final \xd0\x9c.mp4");
    settings.startPaddingSec = 0.5;
    settings.endPaddingSec = 2;
    settings.minRallySec = 4;
    const NewProjectResult result = createProjectFromVideo(store, settings, video.string());
    ASSERT_TRUE(result.project) << result.error;
    const std::optional<Project> saved = store.load(result.project->id);
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, *result.project);
    EXPECT_EQ(saved->name, "Final \xd0\x9c");
    EXPECT_EQ(saved->videoPath, video.string());
    EXPECT_EQ(saved->videoWidth, 160);
    EXPECT_EQ(saved->videoHeight, 120);
    EXPECT_DOUBLE_EQ(saved->videoFps, 25);
    EXPECT_NEAR(saved->videoDurationSec, 2, 0.05);
    EXPECT_EQ(saved->settings, (ProjectSettings{0.5, 2, 4}));
    EXPECT_EQ(saved->state, ProjectState::New);
    EXPECT_NE(log().find("[info] new project " + saved->id + "\n"), std::string::npos);
}

TEST_F(ProjectFlows, UnreadableVideoCreatesNothing) {
    const NewProjectResult missing = createProjectFromVideo(store, settings, (dir / "gone.mp4").string());
    EXPECT_FALSE(missing.project);
    EXPECT_EQ(missing.error.rfind("This file was not found:\n", 0), 0u) << missing.error;

    test::writeFile(dir / "notes.mp4", "this is not a video");
    const NewProjectResult notVideo = createProjectFromVideo(store, settings, (dir / "notes.mp4").string());
    EXPECT_FALSE(notVideo.project);
    EXPECT_EQ(notVideo.error.rfind("\"notes.mp4\" cannot be opened.", 0), 0u) << notVideo.error;
    EXPECT_EQ(projectFolders(), 0u);
}

TEST_F(ProjectFlows, PathsThatAreNotRegularFilesAreNamedForWhatTheyAre) {
    const fs::path fifo = dir / "match.mp4";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directories(dir / "folder.mp4");
    for (const fs::path& path : {fifo, dir / "folder.mp4", fs::path("/dev/null"), fs::path("/dev/zero")}) {
        const NewProjectResult result = createProjectFromVideo(store, settings, path.string());
        EXPECT_FALSE(result.project);
        const std::string name = "\"" + path.filename().string() + "\" is not a video file: it is ";
        EXPECT_EQ(result.error.rfind(name, 0), 0u) << result.error;
        EXPECT_EQ(result.error.find("not found"), std::string::npos) << result.error;
    }
    EXPECT_EQ(projectFolders(), 0u);
}

TEST_F(ProjectFlows, RelativeVideoPathIsStoredInFull) {
    const fs::path video = makeVideo("match.mp4");
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    const NewProjectResult result = createProjectFromVideo(store, settings, "./../" + dir.path().filename().string() + "/match.mp4");
    fs::current_path(before);
    ASSERT_TRUE(result.project) << result.error;
    EXPECT_TRUE(fs::path(result.project->videoPath).is_absolute()) << result.project->videoPath;
    EXPECT_TRUE(fs::equivalent(result.project->videoPath, video));
    EXPECT_EQ(loadProjectForEditor(store, result.project->id).status, OpenStatus::Ready);
}

TEST_F(ProjectFlows, ProjectThatCannotBeWrittenLeavesNoFolderBehind) {
    const fs::path video = makeVideo("match.mp4");
    fs::create_directories(store.projectsDir());
    NewProjectResult result;
    {
        test::FileSizeLimit full(16);
        result = createProjectFromVideo(store, settings, video.string());
    }
    EXPECT_FALSE(result.project);
    EXPECT_EQ(result.error, "Disk full or write error while saving the project");
    EXPECT_EQ(projectFolders(), 0u) << "no empty folder and no .tmp file stay behind";
}

TEST_F(ProjectFlows, StoredVideoThatIsAPipeIsRefusedWithoutOpeningIt) {
    const fs::path video = makeVideo("match.mp4");
    const Project project = *createProjectFromVideo(store, settings, video.string()).project;
    fs::remove(video);
    ASSERT_EQ(mkfifo(video.c_str(), 0600), 0);  // opening it to read would wait for a writer for ever
    const OpenProjectResult opened = loadProjectForEditor(store, project.id);
    EXPECT_EQ(opened.status, OpenStatus::NotAVideoFile);
    EXPECT_EQ(opened.error.rfind("\"match.mp4\" is not a video file", 0), 0u) << opened.error;
    EXPECT_FALSE(relocateVideo(store, project.id, "/dev/zero"));
}

TEST_F(ProjectFlows, FailedSaveIsReported) {
    const fs::path video = makeVideo("match.mp4");
    test::writeFile(dir / "projects", "a file where the projects folder belongs");
    const NewProjectResult result = createProjectFromVideo(store, settings, video.string());
    EXPECT_FALSE(result.project);
    EXPECT_EQ(result.error.rfind("Cannot write ", 0), 0u) << result.error;
}

TEST_F(ProjectFlows, MovedVideoIsLocatedAndTheRalliesKept) {
    const fs::path video = makeVideo("match.mp4");
    Project project = *createProjectFromVideo(store, settings, video.string()).project;
    project.rallies = {{1, 0.2, 0.9, "", "", true, Winner::None, false}, {2, 1.0, 1.8, "", "", true, Winner::Away, false}};
    project.nextRallyId = 3;
    ASSERT_TRUE(store.save(project));
    EXPECT_EQ(loadProjectForEditor(store, project.id).status, OpenStatus::Ready);

    fs::create_directories(dir / "moved");
    const fs::path moved = dir / "moved" / "match.mp4";
    fs::rename(video, moved);
    const OpenProjectResult missing = loadProjectForEditor(store, project.id);
    EXPECT_EQ(missing.status, OpenStatus::VideoMissing);
    ASSERT_TRUE(missing.project);
    EXPECT_EQ(missing.project->videoPath, video.string());

    const std::optional<Project> located = relocateVideo(store, project.id, moved.string());
    ASSERT_TRUE(located);
    const OpenProjectResult opened = loadProjectForEditor(store, project.id);
    EXPECT_EQ(opened.status, OpenStatus::Ready);
    ASSERT_TRUE(opened.project);
    EXPECT_EQ(opened.project->videoPath, moved.string());
    EXPECT_EQ(opened.project->rallies, project.rallies);
}

TEST_F(ProjectFlows, UnreadableProjectCannotBeOpenedOrLocated) {
    fs::create_directories(store.projectDir("p1"));
    test::writeFile(store.projectFile("p1"), "{damaged");
    EXPECT_EQ(loadProjectForEditor(store, "p1").status, OpenStatus::Unreadable);
    EXPECT_EQ(loadProjectForEditor(store, "p404").status, OpenStatus::Unreadable);
    EXPECT_FALSE(relocateVideo(store, "p1", "/v/new.mp4"));
    EXPECT_EQ(test::readFile(store.projectFile("p1")), "{damaged");
}

TEST_F(ProjectFlows, ProjectListLogsEachUnreadableFolder) {
    Project good = store.create("/v/good.mp4");
    ASSERT_TRUE(store.save(good));
    fs::create_directories(store.projectDir("p1"));
    test::writeFile(store.projectFile("p1"), "[1 2]");
    const std::vector<Project> projects = readProjectList(store);
    ASSERT_EQ(projects.size(), 1u);
    EXPECT_EQ(projects[0].id, good.id);
    EXPECT_NE(log().find("[error] Could not read project p1\n"), std::string::npos) << log();
}

}  // namespace
}  // namespace rallinox
