// The editor's texts built from the project: counts that agree with their
// nouns, the list's names and summary, the sound box and the question
// before analysing again.
#include "ui/editor/editor_texts.h"

#include <gtest/gtest.h>

#include "tests/support/rally_builders.h"

namespace rallinox::ui {
namespace {

using test::makeProject;

TEST(EditorTexts, ScoredProgressAgreesWithTheNumberOfRallies) {
    Project project = makeProject({{10, 20}}, 60);
    EXPECT_EQ(scoredProgressText(project.rallies), "0 of 1 rally scored");
    project.rallies[0].winner = Winner::Home;
    EXPECT_EQ(scoredProgressText(project.rallies), "1 of 1 rally scored");
    EXPECT_EQ(scoredProgressText(makeProject({{10, 20}, {30, 40}}, 60).rallies), "0 of 2 rallies scored");
    EXPECT_EQ(scoredProgressText({}), "0 of 0 rallies scored");
}

TEST(EditorTexts, AddedRalliesSayItAfterTheirName) {
    Project project = makeProject({{10, 20}, {30, 40}}, 60);
    project.rallies[1].source = "manual";
    EXPECT_EQ(rallyRowName(project.rallies[0], 0), "Rally 1");
    EXPECT_EQ(rallyRowName(project.rallies[1], 1), "Rally 2  (added)");
    project.rallies[1].name = "Block";
    EXPECT_EQ(rallyRowName(project.rallies[1], 1), "Block  (added)");
}

TEST(EditorTexts, ListSummaryCountsTheTickedRalliesAndTheBreaks) {
    Project project = makeProject({{10, 20}, {30, 45}}, 120);
    project.rallies[1].selected = false;
    EXPECT_EQ(rallyListSummary(project), "1 of 2 ticked  -  0:10 will be exported  -  breaks 1:35 of 2:00");
    EXPECT_EQ(rallyListSummary(makeProject({}, 60)),
              "No rallies. Use \"Add rally here\" while the video shows one.");
}

TEST(EditorTexts, SoundBoxSaysWhenNoDeviceCanPlayTheSound) {
    EXPECT_EQ(soundBoxLabel(false), "Sound###sound");
    EXPECT_EQ(soundBoxLabel(true), "Sound: no device###sound");
}

TEST(EditorTexts, AnalysingAgainSaysThatTheScoresGoToo) {
    EXPECT_EQ(analyseAgainQuestion(1.5, 3),
              "The rallies are found again with the paddings from Settings (1.5 s before, 3.0 s after). Your edits, "
              "names, scores and answers in \"To check\" are replaced.");
}

}  // namespace
}  // namespace rallinox::ui
