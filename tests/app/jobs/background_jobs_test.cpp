// Analyses started, cancelled and collected the way the application does,
// on short generated videos, with the project files checked on disk.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "app/jobs/background_jobs.h"
#include "app/jobs/project_flows.h"
#include "app/core/settings.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_videos.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

bool makeVideo(const fs::path& path, int seconds) {
    return test::writeTestVideo(path.string(), {320, 240, 30, double(seconds)});
}

void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(5)); }

class BackgroundJobsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(makeVideo(folder_ / "short.mp4", 3)) << "ffmpeg could not make the test video";
        ASSERT_TRUE(makeVideo(folder_ / "long.mp4", 120));
    }

    Project newProject(const std::string& video) {
        NewProjectResult created = createProjectFromVideo(store_, settings_, (folder_ / video).string());
        EXPECT_TRUE(created.project) << created.error;
        return created.project.value_or(Project{});
    }

    ProjectState stateOnDisk(const std::string& id) {
        std::optional<Project> project = store_.load(id);
        return project ? project->state : ProjectState::Failed;
    }

    // Loading reads "analysing" as new (no analysis outlives the program), so
    // that state is looked for in the file itself.
    bool savedAsAnalysing(const std::string& id) {
        return test::readFile(store_.projectFile(id)).find("\"analysing\"") != std::string::npos;
    }

    FinishedAnalysis waitForResult() {
        std::optional<FinishedAnalysis> finished;
        while (!(finished = jobs_.pollAnalysis())) pause();
        return *finished;
    }

    // Returns once the analysis has read some frames (or has ended).
    void waitForStageOne() {
        const AnalysisProgress& progress = jobs_.analysisJob->progress;
        while (!jobs_.analysisJob->done() && (progress.stage.load() < 1 || progress.videoSecDone.load() <= 0)) pause();
    }

    void waitForRetiredJobs() {
        while (!jobs_.retiredJobs.empty()) {
            jobs_.pollAnalysis();
            pause();
        }
    }

    test::TempDir folder_;
    ProjectStore store_{folder_ / "projects"};
    Settings settings_;
    BackgroundJobs jobs_{store_};
};

TEST_F(BackgroundJobsTest, FinishedAnalysisIsMergedIntoTheSavedProject) {
    Project project = newProject("short.mp4");
    test::writeFile(store_.thumbnailFile(project.id), "old picture");
    ASSERT_EQ(jobs_.startAnalysis(project), "");
    EXPECT_TRUE(savedAsAnalysing(project.id));
    EXPECT_TRUE(jobs_.isAnalysing(project.id));

    const FinishedAnalysis finished = waitForResult();
    EXPECT_TRUE(finished.ok);
    EXPECT_EQ(finished.projectId, project.id);
    EXPECT_EQ(finished.toast.rfind("Analysis finished: ", 0), 0u) << finished.toast;
    EXPECT_FALSE(jobs_.analysisJob);

    const std::optional<Project> saved = store_.load(project.id);
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, *finished.project);
    EXPECT_EQ(saved->state, ProjectState::Ready);
    EXPECT_EQ(saved->nextRallyId, static_cast<int64_t>(saved->rallies.size()) + 1);
    EXPECT_GT(saved->stats.frames, 0);
    EXPECT_NEAR(saved->videoDurationSec, 3.0, 0.1);
    EXPECT_FALSE(fs::exists(store_.thumbnailFile(project.id))) << "the picture of the old first rally is gone";
}

TEST_F(BackgroundJobsTest, ResultTheDiskRefusesIsKeptAndReportedAsNotSaved) {
    Project project = newProject("short.mp4");
    ASSERT_EQ(jobs_.startAnalysis(project), "");
    while (!jobs_.analysisJob->done()) pause();
    FinishedAnalysis finished;
    {
        test::FileSizeLimit full(64);  // the disk fills up as the analysis ends
        finished = waitForResult();
    }
    EXPECT_TRUE(finished.ok);
    EXPECT_EQ(finished.saveError, "Disk full or write error while saving the project");
    EXPECT_TRUE(finished.toast.empty()) << "no toast claims success";
    EXPECT_EQ(finished.error.rfind("Analysis finished: ", 0), 0u) << finished.error;
    EXPECT_NE(finished.error.find("could not be saved (Disk full or write error while saving the project)"),
              std::string::npos)
        << finished.error;
    ASSERT_TRUE(finished.project);
    EXPECT_EQ(finished.project->state, ProjectState::Ready);
    EXPECT_GT(finished.project->stats.frames, 0);
    EXPECT_TRUE(savedAsAnalysing(project.id)) << "the file on disk is the one from before";

    // The next save, once there is room again, writes the kept result.
    ASSERT_TRUE(store_.save(*finished.project));
    EXPECT_EQ(stateOnDisk(project.id), ProjectState::Ready);
}

TEST_F(BackgroundJobsTest, CancelDuringStageOneShowsTheProjectAsNewAtOnceAndANewAnalysisCanStart) {
    Project project = newProject("long.mp4");
    ASSERT_EQ(jobs_.startAnalysis(project), "");
    waitForStageOne();
    jobs_.cancelAnalysis();
    EXPECT_EQ(stateOnDisk(project.id), ProjectState::New);
    EXPECT_FALSE(jobs_.analysisJob);
    ASSERT_EQ(jobs_.retiredJobs.size(), 1u);
    EXPECT_NE(jobs_.retiredJobs[0]->progress.cancel.load(), 0);

    Project other = newProject("short.mp4");
    EXPECT_EQ(jobs_.startAnalysis(other), "") << "no need to wait for the cancelled thread";
    const FinishedAnalysis finished = waitForResult();
    EXPECT_EQ(finished.projectId, other.id);
    waitForRetiredJobs();
    EXPECT_EQ(stateOnDisk(project.id), ProjectState::New) << "the cancelled job saved nothing";
}

TEST_F(BackgroundJobsTest, DeletingAProjectDuringItsAnalysisCancelsItAndNothingIsSavedAfterwards) {
    Project project = newProject("long.mp4");
    ASSERT_EQ(jobs_.startAnalysis(project), "");
    waitForStageOne();
    jobs_.cancelAnalysis();
    ASSERT_TRUE(store_.remove(project.id));
    waitForRetiredJobs();
    EXPECT_FALSE(fs::exists(store_.projectDir(project.id)));
    EXPECT_TRUE(store_.list().projects.empty());
}

TEST_F(BackgroundJobsTest, ProjectRemovedUnderAFinishingAnalysisIsNotWrittenAgain) {
    Project project = newProject("short.mp4");
    ASSERT_EQ(jobs_.startAnalysis(project), "");
    ASSERT_TRUE(store_.remove(project.id));
    const FinishedAnalysis finished = waitForResult();
    EXPECT_FALSE(finished.project);
    EXPECT_FALSE(fs::exists(store_.projectDir(project.id)));
}

TEST_F(BackgroundJobsTest, SecondAnalysisIsRefusedAndTheFirstGoesOn) {
    Project first = newProject("long.mp4");
    Project second = newProject("short.mp4");
    ASSERT_EQ(jobs_.startAnalysis(first), "");
    EXPECT_EQ(jobs_.startAnalysis(second), kAnotherAnalysisMessage);
    EXPECT_EQ(stateOnDisk(second.id), ProjectState::New);
    EXPECT_TRUE(jobs_.isAnalysing(first.id));
    EXPECT_GE(jobs_.progressValue(), 0.0);
}

TEST_F(BackgroundJobsTest, AnalysisOfAVideoThatIsGoneEndsFailedWithItsMessage) {
    Project project = newProject("short.mp4");
    project.videoPath = (folder_ / "moved-away.mp4").string();
    ASSERT_EQ(jobs_.startAnalysis(project), "");
    const FinishedAnalysis finished = waitForResult();
    EXPECT_FALSE(finished.ok);
    EXPECT_FALSE(finished.error.empty());
    EXPECT_TRUE(finished.toast.empty());
    EXPECT_EQ(stateOnDisk(project.id), ProjectState::Failed);
}

TEST_F(BackgroundJobsTest, AFinishedJobNotYetCollectedIsNotRunning) {
    ASSERT_TRUE(jobs_.startExport(ExportRequest{}, [](const ExportRequest&, ExportProgress&) { return ExportResult{}; }));
    while (!jobs_.exportJob->done()) pause();
    EXPECT_TRUE(jobs_.any()) << "still to be collected";
    EXPECT_FALSE(jobs_.running()) << "closing the window stops nothing";

    Project project = newProject("long.mp4");
    ASSERT_EQ(jobs_.startAnalysis(project), "");
    EXPECT_TRUE(jobs_.running());
    jobs_.cancelAnalysis();
    jobs_.pollExport();
    EXPECT_FALSE(jobs_.running()) << "a cancelled analysis winding down is not waited for";
}

TEST_F(BackgroundJobsTest, DestroyingTheJobsStopsARunningAnalysis) {
    Project project = newProject("long.mp4");
    {
        BackgroundJobs jobs(store_);
        ASSERT_EQ(jobs.startAnalysis(project), "");
        while (!jobs.analysisJob->done() && jobs.analysisJob->progress.stage.load() < 1) pause();
    }
    EXPECT_TRUE(savedAsAnalysing(project.id)) << "the job thread never writes the project";
}

}  // namespace
}  // namespace rallinox
