#include "app/core/json.h"
#include "app/core/log.h"
#include "app/core/project_store.h"
#include "engine/analysis.h"
#include "engine/analysis_job.h"
#include "match_video.h"
#include "run_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include <unistd.h>

namespace rallinox {
namespace {

namespace fs = std::filesystem;

using test::CommandOutput;
using test::runCommand;

std::string readFile(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// One generated match shared by every test: 20 s still, a 12 s rally, 16 s
// still, a 10 s rally, 12 s still. Each test runs in a process of its own,
// so the video is made once and kept in the temporary folder.
class AnalysisEndToEnd : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = fs::temp_directory_path() / "rallinox-analysis-test";
        fs::create_directories(folder_);
        plan_.durationSec = 70;
        plan_.rallies = {{20, 32}, {48, 58}};
        videoOk_ = fs::exists(video());
        if (videoOk_) return;
        const fs::path partial = folder_ / ("match.mp4.part" + std::to_string(getpid()) + ".mp4");
        videoOk_ = writeMatchVideo(partial.string(), plan_);
        if (videoOk_) fs::rename(partial, video());
    }

    void SetUp() override { ASSERT_TRUE(videoOk_) << "ffmpeg could not make the test video"; }

    static std::string video() { return (folder_ / "match.mp4").string(); }
    static CommandOutput analyzeJson(const std::string& path = video()) {
        return runCommand(std::string(RALLINOX_ANALYZE) + " '" + path + "' --json 2>/dev/null");
    }
    // A file of this process made from the match by an ffmpeg command line
    // ("IN" and "OUT" stand for the two files).
    static std::string derivedVideo(const std::string& name, std::string arguments) {
        const fs::path made = folder_ / (name + std::to_string(getpid()) + ".mp4");
        arguments.replace(arguments.find("IN"), 2, "'" + video() + "'");
        arguments.replace(arguments.find("OUT"), 3, "'" + made.string() + "'");
        EXPECT_EQ(runCommand("ffmpeg -y -loglevel error " + arguments).status, 0) << arguments;
        return made.string();
    }

    static inline fs::path folder_;
    static inline MatchVideoPlan plan_;
    static inline bool videoOk_ = false;
};

TEST_F(AnalysisEndToEnd, RalliesLieOverTheFlightsAndNotOverTheStillParts) {
    const CommandOutput run = analyzeJson();
    ASSERT_EQ(run.status, 0) << run.out;
    const JsonValue doc = JsonValue::parse(run.out);
    const JsonValue& rallies = doc.get("rallies");
    ASSERT_GE(rallies.size(), 1u) << run.out;
    std::vector<bool> found(plan_.rallies.size(), false);
    for (size_t i = 0; i < rallies.size(); ++i) {
        const double start = rallies.at(i).get("startSec").asNumber(-1);
        const double end = rallies.at(i).get("endSec").asNumber(-1);
        bool overFlight = false;
        for (size_t k = 0; k < plan_.rallies.size(); ++k) {
            if (start < plan_.rallies[k].second && end > plan_.rallies[k].first) {
                overFlight = true;
                found[k] = true;
            }
        }
        EXPECT_TRUE(overFlight) << "rally " << start << " - " << end << " lies in a still part";
    }
    for (size_t k = 0; k < found.size(); ++k) EXPECT_TRUE(found[k]) << "no rally over flights " << k;
    EXPECT_EQ(doc.get("video").get("width").asInt(0), 1280);
    EXPECT_GT(doc.get("stats").get("frames").asInt(0), 2000);
    EXPECT_EQ(doc.get("warning").asString(""), "");  // read to its end
    EXPECT_NEAR(doc.get("video").get("readSec").asNumber(0), 70, 1e-6);
}

// A phone records at a variable rate: here the still first 15 s keep only
// every third frame (10 frames per second, timestamps kept), the rest runs
// at 30. Both rallies must lie where the constant-rate file has them. Read by
// frame count instead of time, they would move by 10 s (the first 15 s hold
// 150 frames, not 450). The motion detector's background comes out of those
// first 15 s a little different, so a window near a rally's end may decide
// otherwise and move that end by up to the 1-s merge gap.
TEST_F(AnalysisEndToEnd, RalliesOfAVariableRateVideoLieAtTheirTimestamps) {
    const std::string uneven = derivedVideo(
        "uneven", "-i IN -vf \"select='gte(t\\,15)+not(mod(n\\,3))'\" -fps_mode vfr -c:v libx264 -preset ultrafast OUT");
    const CommandOutput constantRun = analyzeJson();
    const CommandOutput unevenRun = analyzeJson(uneven);
    fs::remove(uneven);
    ASSERT_EQ(constantRun.status, 0);
    ASSERT_EQ(unevenRun.status, 0) << unevenRun.out;
    const JsonValue constant = JsonValue::parse(constantRun.out).get("rallies");
    const JsonValue variable = JsonValue::parse(unevenRun.out).get("rallies");
    constexpr double kFrameSec = 1.0 / 30;
    constexpr double kWindowDecisionSec = 1.0 + kFrameSec;
    ASSERT_EQ(variable.size(), constant.size()) << unevenRun.out;
    for (size_t i = 0; i < constant.size(); ++i) {
        EXPECT_NEAR(variable.at(i).get("startSec").asNumber(-1), constant.at(i).get("startSec").asNumber(-1),
                    kWindowDecisionSec)
            << unevenRun.out;
        EXPECT_NEAR(variable.at(i).get("endSec").asNumber(-1), constant.at(i).get("endSec").asNumber(-1),
                    kWindowDecisionSec)
            << unevenRun.out;
    }
}

// A file cut short (or still being copied) with its index at the front:
// everything up to the cut is analysed, and the result says how much that was.
TEST_F(AnalysisEndToEnd, AVideoThatEndsEarlySaysHowMuchCouldBeRead) {
    const std::string whole = derivedVideo("indexfirst", "-i IN -c copy -movflags +faststart OUT");
    fs::resize_file(whole, fs::file_size(whole) / 2);
    const CommandOutput run = analyzeJson(whole);
    const CommandOutput text = runCommand(std::string(RALLINOX_ANALYZE) + " '" + whole + "' 2>&1");
    fs::remove(whole);
    ASSERT_EQ(run.status, 0) << run.out;
    const JsonValue doc = JsonValue::parse(run.out);
    const double readSec = doc.get("video").get("readSec").asNumber(-1);
    EXPECT_GT(readSec, 20);
    EXPECT_LT(readSec, 50);
    EXPECT_DOUBLE_EQ(doc.get("video").get("durationSec").asNumber(-1), 70);
    const std::string warning = doc.get("warning").asString("");
    EXPECT_EQ(warning.rfind("Only the first 0:", 0), 0u) << run.out;
    EXPECT_NE(warning.find(" of 1:10 could be read"), std::string::npos) << warning;
    EXPECT_NE(text.out.find(warning), std::string::npos) << text.out;
    const JsonValue& rallies = doc.get("rallies");
    for (size_t i = 0; i < rallies.size(); ++i) EXPECT_LE(rallies.at(i).get("endSec").asNumber(99), readSec);
}

TEST_F(AnalysisEndToEnd, TwoRunsGiveTheSameDocument) {
    const CommandOutput first = analyzeJson();
    const CommandOutput second = analyzeJson();
    ASSERT_EQ(first.status, 0);
    EXPECT_EQ(first.out, second.out);
}

TEST_F(AnalysisEndToEnd, ProjectOptionSavesAProjectTheWindowOpensWithTheSameRallies) {
    const fs::path projects = folder_ / ("projects" + std::to_string(getpid()));
    const CommandOutput run = runCommand(std::string(RALLINOX_ANALYZE) + " '" + video() + "' --project '" +
                                         projects.string() + "' 2>/dev/null");
    ASSERT_EQ(run.status, 0) << run.out;
    const fs::path folder = run.out.substr(0, run.out.find('\n'));
    EXPECT_EQ(run.out, folder.string() + "\n") << "standard output names the project's folder only";
    EXPECT_EQ(folder.parent_path(), projects);
    const std::optional<Project> project = ProjectStore(projects).load(folder.filename().string());
    ASSERT_TRUE(project.has_value());
    EXPECT_EQ(project->state, ProjectState::Ready);
    EXPECT_EQ(project->videoPath, video());
    EXPECT_EQ(project->videoWidth, 1280);
    const JsonValue analysed = JsonValue::parse(analyzeJson().out);
    ASSERT_EQ(project->rallies.size(), analysed.get("rallies").size());
    for (size_t i = 0; i < project->rallies.size(); ++i) {
        EXPECT_DOUBLE_EQ(project->rallies[i].startSec, analysed.get("rallies").at(i).get("startSec").asNumber(-1));
        EXPECT_TRUE(project->rallies[i].selected);
    }
    fs::remove_all(projects);
}

TEST_F(AnalysisEndToEnd, FeatureTablesNameEveryModelInput) {
    const fs::path tables = folder_ / ("features" + std::to_string(getpid()));
    const CommandOutput run =
        runCommand(std::string(RALLINOX_ANALYZE) + " '" + video() + "' --features '" + tables.string() + "' 2>/dev/null");
    ASSERT_EQ(run.status, 0);
    std::istringstream windows(readFile(tables / "windows.csv"));
    std::string header, first;
    std::getline(windows, header);
    std::getline(windows, first);
    EXPECT_EQ(header.rfind("startFrame,endFrame,Is_Ball_Active,Inside_Run,", 0), 0u) << header;
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), 23);
    EXPECT_EQ(first.rfind("0,4,", 0), 0u) << first;
    const std::string tracks = readFile(tables / "tracks.csv");
    EXPECT_EQ(tracks.rfind("trackId,firstFrame,lastFrame,Duration,Mean_W,", 0), 0u);
    EXPECT_EQ(std::count(tracks.begin(), tracks.begin() + tracks.find('\n'), ','), 67);
    EXPECT_EQ(readFile(tables / "analysis.csv"),
              "frameStep,analysisWidth,analysisHeight,analysisFps,videoFps,videoWidth,videoHeight,frames\n"
              "1,854,480,30,30,1280,720,2100\n");
    fs::remove_all(tables);
}

TEST_F(AnalysisEndToEnd, CancellingWhileFindingTheBallStopsQuietly) {
    const fs::path logFile = folder_ / ("cancel" + std::to_string(getpid()) + ".log");
    openLog(logFile);
    AnalysisProgress progress;
    std::thread user([&progress] {
        while (progress.stage.load() < 1 || progress.videoSecDone.load() <= 0) std::this_thread::yield();
        progress.cancel.store(1);
    });
    const AnalysisResult result = analysisJobBody({video()}, progress);
    user.join();
    closeLog();
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "");
    EXPECT_TRUE(result.rallies.empty());
    EXPECT_EQ(result.frames, 0);
    EXPECT_EQ(progress.stage.load(), 1);
    const std::string logged = readFile(logFile);
    fs::remove(logFile);
    fs::remove(logFile.string() + ".old");
    EXPECT_NE(logged.find("stage 1 decoder: "), std::string::npos) << logged;
    EXPECT_EQ(logged.find("[error]"), std::string::npos) << logged;
    EXPECT_EQ(logged.find("analysis"), std::string::npos) << logged;
}

TEST_F(AnalysisEndToEnd, ATextFileIsNotAVideo) {
    const fs::path notVideo = folder_ / "notes.mp4";  // the same text in every run
    std::ofstream(notVideo) << "not a video";
    const CommandOutput run = runCommand(std::string(RALLINOX_ANALYZE) + " '" + notVideo.string() + "' 2>&1");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.out.find("\"notes.mp4\" cannot be opened."), std::string::npos) << run.out;
}

}  // namespace
}  // namespace rallinox
