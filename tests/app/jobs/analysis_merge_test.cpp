// A finished analysis as its project takes it over, and the toast about it.
#include <gtest/gtest.h>

#include "app/jobs/analysis_merge.h"

namespace rallinox {
namespace {

AnalysisResult resultWith(std::vector<AnalysisRally> rallies, std::vector<AnalysisHint> hints) {
    AnalysisResult result;
    result.ok = true;
    result.video.durationSec = 612.5;
    result.rallies = std::move(rallies);
    result.hints = std::move(hints);
    result.totalSec = 95;
    result.stage1Sec = 80;
    result.frames = 18375;
    result.stage1Fps = 229.7;
    result.realtimeX = 6.4;
    result.decoder = "software";
    return result;
}

Project editedProject() {
    Project project;
    project.state = ProjectState::Analysing;
    project.rallies = {{7, 1, 2, "Ace", "manual", false, Winner::Home, true}};
    project.hints = {{HintKind::Joined, 1, 2, 1.5, true}};
    project.nextRallyId = 8;
    project.match.homeName = "Lions";
    return project;
}

TEST(AnalysisMerge, RalliesAreNumberedFromOneAndReplaceTheOldOnes) {
    Project project = editedProject();
    mergeAnalysis(project, resultWith({{10, 20, 1.5, 3}, {30.5, 41, 1.5, 3}}, {}));
    ASSERT_EQ(project.rallies.size(), 2u);
    EXPECT_EQ(project.rallies[0], (Rally{1, 10, 20, "", "", true, Winner::None, false}));
    EXPECT_EQ(project.rallies[1], (Rally{2, 30.5, 41, "", "", true, Winner::None, false}));
    EXPECT_EQ(project.nextRallyId, 3);
    EXPECT_EQ(project.state, ProjectState::Ready);
    EXPECT_EQ(project.match.homeName, "Lions") << "the match set-up is the user's";
}

TEST(AnalysisMerge, HintsStatisticsAndTheVideoLengthAreTakenOver) {
    Project project = editedProject();
    mergeAnalysis(project, resultWith({{10, 20, 0, 0}}, {{HintKind::Doubtful, 5, 9, 7.5, true}, {HintKind::Missed, 50, 60, 52, false}}));
    ASSERT_EQ(project.hints.size(), 2u);
    EXPECT_EQ(project.hints[0], (ReviewHint{HintKind::Doubtful, 5, 9, 7.5, false})) << "every hint starts open";
    EXPECT_EQ(project.hints[1], (ReviewHint{HintKind::Missed, 50, 60, 52, false}));
    EXPECT_EQ(project.stats, (AnalysisStats{95, 80, 18375, 229.7, 6.4, "software"}));
    EXPECT_DOUBLE_EQ(project.videoDurationSec, 612.5);
}

TEST(AnalysisMerge, NoRalliesStillMakesTheProjectReady) {
    Project project = editedProject();
    mergeAnalysis(project, resultWith({}, {}));
    EXPECT_TRUE(project.rallies.empty());
    EXPECT_TRUE(project.hints.empty());
    EXPECT_EQ(project.nextRallyId, 1);
    EXPECT_EQ(project.state, ProjectState::Ready);
}

TEST(AnalysisMerge, ToastCountsRalliesAndOnlyMentionsHintsWhenThereAreSome) {
    EXPECT_EQ(analysisFinishedText(42, 3), "Analysis finished: 42 rallies found, 3 to check");
    EXPECT_EQ(analysisFinishedText(0, 0), "Analysis finished: 0 rallies found");
    EXPECT_EQ(analysisFinishedText(1, 0), "Analysis finished: 1 rally found");
    EXPECT_EQ(analysisFinishedText(4, 1, "Only the first 12:30 of 45:00 could be read"),
              "Analysis finished: 4 rallies found, 1 to check. Only the first 12:30 of 45:00 could be read.");
}

}  // namespace
}  // namespace rallinox
