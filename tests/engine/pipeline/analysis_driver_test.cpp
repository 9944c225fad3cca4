#include "app/core/log.h"
#include "engine/analysis.h"
#include "engine/analysis_job.h"
#include "engine/frame_times.h"
#include "video/frame_queue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace rallinox {
namespace {

TEST(FrameStep, AtMostAboutThirtyAnalysedFramesPerSecond) {
    EXPECT_EQ(analysisFrameStep(25), 1);
    EXPECT_EQ(analysisFrameStep(30), 1);
    EXPECT_EQ(analysisFrameStep(50), 2);
    EXPECT_EQ(analysisFrameStep(59.94), 2);
    EXPECT_EQ(analysisFrameStep(120), 4);
    EXPECT_EQ(analysisFrameStep(45), 2);  // 1.5 rounds away from zero
    EXPECT_EQ(analysisFrameStep(0), 1);
}

TEST(AnalysisSize, ShortSideBecomes480AndBothSidesEven) {
    auto size = [](int width, int height) {
        const AnalysisSize result = analysisSizeFor(width, height);
        return std::make_pair(result.width, result.height);
    };
    EXPECT_EQ(size(1920, 1080), std::make_pair(854, 480));
    EXPECT_EQ(size(640, 480), std::make_pair(640, 480));
    EXPECT_EQ(size(1080, 1920), std::make_pair(480, 854));
    EXPECT_EQ(size(720, 720), std::make_pair(480, 480));
    EXPECT_EQ(size(1000, 480), std::make_pair(1000, 480));
    EXPECT_EQ(size(1001, 480), std::make_pair(1002, 480));
}

TEST(TrackVerdicts, HalfAProbabilityMakesABallTrack) {
    std::vector<TrackFeatures> records(3);
    records[0].trackId = 7;
    records[1].trackId = 9;
    records[2].trackId = 12;
    const TrackVerdicts verdicts = judgeTracks(records, {0.5, 0.49});
    EXPECT_EQ(verdicts.ballTrackIds, (std::set<int>{7}));
    EXPECT_EQ(verdicts.trackProbability, (std::map<int, double>{{7, 0.5}, {9, 0.49}}));
    EXPECT_TRUE(judgeTracks(records, {}).ballTrackIds.empty());
}

TEST(ProbabilityPerFrame, EachWindowCoversItsFiveFramesOnly) {
    EXPECT_EQ(probabilityPerFrame({0.2, 0.8, 0.6}, 12, 5),
              (std::vector<double>{0.2, 0.2, 0.2, 0.2, 0.2, 0.8, 0.8, 0.8, 0.8, 0.8, 0.6, 0.6}));
    EXPECT_EQ(probabilityPerFrame({0.9}, 8, 5), (std::vector<double>{0.9, 0.9, 0.9, 0.9, 0.9, 0, 0, 0}));
    EXPECT_EQ(probabilityPerFrame({}, 3, 5), (std::vector<double>{0, 0, 0}));
}

TEST(StageNames, NameEveryStepShownToTheUser) {
    EXPECT_STREQ(analysisStageName(0), "Opening the video");
    EXPECT_STREQ(analysisStageName(1), "Finding the ball");
    EXPECT_STREQ(analysisStageName(2), "Following the ball");
    EXPECT_STREQ(analysisStageName(3), "Checking ball tracks");
    EXPECT_STREQ(analysisStageName(4), "Finding the rallies");
    EXPECT_STREQ(analysisStageName(5), "Done");
    EXPECT_STREQ(analysisStageName(6), "");
    EXPECT_STREQ(analysisStageName(-1), "");
}

RallySegment framesToFrames(int start, int end) {
    RallySegment segment;
    segment.start = start;
    segment.end = end;
    segment.startPadSec = 1.5;
    segment.endPadSec = 3;
    return segment;
}

TEST(ResultTimes, FramesBecomeSecondsClampedToTheVideo) {
    AnalysisResult result;
    result.video.durationSec = 10;
    PipelineOutput output;
    output.rallies = {framesToFrames(30, 90), framesToFrames(240, 400), framesToFrames(300, 330)};
    output.hints = {{HintKind::Joined, 60, 120, 90}, {HintKind::Missed, 0, 15, 0}, {HintKind::Doubtful, 300, 310, 0}};
    addRalliesAndHints(output, FrameTimes({}, 30), result);

    ASSERT_EQ(result.rallies.size(), 2u);
    EXPECT_DOUBLE_EQ(result.rallies[0].startSec, 1.0);
    EXPECT_DOUBLE_EQ(result.rallies[0].endSec, 3.0);
    EXPECT_DOUBLE_EQ(result.rallies[0].endPadSec, 3.0);
    EXPECT_DOUBLE_EQ(result.rallies[1].startSec, 8.0);
    EXPECT_DOUBLE_EQ(result.rallies[1].endSec, 10.0);  // clamped; the third collapsed to nothing

    ASSERT_EQ(result.hints.size(), 2u);
    EXPECT_EQ(result.hints[0].kind, HintKind::Missed);
    EXPECT_DOUBLE_EQ(result.hints[0].endSec, 0.5);
    EXPECT_EQ(result.hints[1].kind, HintKind::Joined);
    EXPECT_DOUBLE_EQ(result.hints[1].atSec, 3.0);
    EXPECT_FALSE(result.hints[1].done);
}

// 30 frames per second for a second, then one frame every 0.1 s: a phone's
// variable rate. Frame numbers no longer say the time.
std::vector<double> unevenTimes() {
    std::vector<double> times;
    for (int frame = 0; frame < 30; ++frame) times.push_back(frame / 30.0);
    for (int frame = 0; frame < 30; ++frame) times.push_back(1.0 + frame * 0.1);
    return times;
}

TEST(ResultTimes, UnevenlySpacedFramesKeepTheirOwnTimes) {
    AnalysisResult result;
    result.video.durationSec = 10;
    PipelineOutput output;
    output.rallies = {framesToFrames(15, 45)};
    output.hints = {{HintKind::Missed, 40, 59, 50}};
    addRalliesAndHints(output, FrameTimes(unevenTimes(), 20), result);

    ASSERT_EQ(result.rallies.size(), 1u);
    EXPECT_DOUBLE_EQ(result.rallies[0].startSec, 0.5);
    EXPECT_DOUBLE_EQ(result.rallies[0].endSec, 2.5);
    ASSERT_EQ(result.hints.size(), 1u);
    EXPECT_DOUBLE_EQ(result.hints[0].startSec, 2.0);
    EXPECT_DOUBLE_EQ(result.hints[0].atSec, 3.0);
    EXPECT_DOUBLE_EQ(result.hints[0].endSec, 3.9);
}

TEST(FrameTimes, MissingOrBackwardTimesContinueAtTheTypicalRate) {
    const FrameTimes times({kUnknownFrameTime, 0.04, kUnknownFrameTime, 0.12, 0.16, 0.2, 0.1, 0.28}, 25);
    EXPECT_DOUBLE_EQ(times.secondsAt(0), 0.0);
    EXPECT_DOUBLE_EQ(times.secondsAt(1), 0.04);
    EXPECT_DOUBLE_EQ(times.secondsAt(2), 0.08);
    EXPECT_DOUBLE_EQ(times.secondsAt(6), 0.24);  // ran backwards
    EXPECT_DOUBLE_EQ(times.secondsAt(7), 0.28);
    EXPECT_DOUBLE_EQ(times.endSec(), 0.32);
    EXPECT_DOUBLE_EQ(times.secondsAt(9), 0.36);  // beyond the last frame
    EXPECT_DOUBLE_EQ(times.secondsAt(-3), 0.0);
    EXPECT_DOUBLE_EQ(FrameTimes({}, 25).endSec(), 0.0);
    EXPECT_DOUBLE_EQ(FrameTimes({0, 0.1, 0.2}, 25).endSec(), 0.3);  // continues at its own rate
}

TEST(FrameTimes, TypicalRateFollowsMostFramesNotTheAverage) {
    EXPECT_NEAR(FrameTimes(unevenTimes(), 20).typicalFps(), 30, 1e-6);
    std::vector<double> mostlySlow = unevenTimes();
    for (int frame = 0; frame < 20; ++frame) mostlySlow.push_back(3.9 + (frame + 1) * 0.1);
    EXPECT_NEAR(FrameTimes(mostlySlow, 20).typicalFps(), 10, 1e-6);
    std::vector<double> even;
    for (int frame = 0; frame < 100; ++frame) even.push_back(frame * 1.001 / 30);
    EXPECT_EQ(FrameTimes(even, 30).typicalFps(), 30);  // close to the declared rate: the declared rate
    EXPECT_EQ(FrameTimes({0.5}, 25).typicalFps(), 25);
}

TEST(PartlyReadWarning, SaysHowMuchOfTheVideoCouldBeRead) {
    EXPECT_EQ(partlyReadWarning(750, 2700), "Only the first 12:30 of 45:00 could be read");
    EXPECT_EQ(partlyReadWarning(2699.5, 2700), "");  // within the containers' rounding
    EXPECT_EQ(partlyReadWarning(2700, 2700), "");
    EXPECT_EQ(partlyReadWarning(30, 0), "");  // no stated duration
}

TEST(RunAnalysis, AMissingFileGivesTheProbeMessage) {
    AnalysisProgress progress;
    const AnalysisResult result = runAnalysis({"/nonexistent/match.mp4"}, progress);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.error.rfind("This file was not found:\n/nonexistent/match.mp4\n", 0), 0u) << result.error;
    EXPECT_EQ(progress.stage.load(), 0);
}

TEST(AnalysisJobBody, LogsWhyAnAnalysisFailed) {
    const auto logFile = std::filesystem::temp_directory_path() / ("rallinox-job-" + std::to_string(getpid()) + ".log");
    openLog(logFile);
    AnalysisProgress progress;
    const AnalysisResult result = analysisJobBody({"/nonexistent/match.mp4"}, progress);
    closeLog();
    std::stringstream logged;
    logged << std::ifstream(logFile).rdbuf();
    std::filesystem::remove(logFile);
    std::filesystem::remove(logFile.string() + ".old");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(logged.str().find("[error] analysis failed: This file was not found:\n/nonexistent/match.mp4"),
              std::string::npos)
        << logged.str();
}

}  // namespace
}  // namespace rallinox
