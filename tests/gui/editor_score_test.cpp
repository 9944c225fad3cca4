// Reviewing and scoring in the editor as the user does it: answering the
// hints of "To check", naming the teams and choosing the rules in "Match
// setup", scoring rallies with the team buttons, and what ends up in the
// saved project.
#include <gtest/gtest.h>

#include "tests/gui/editor_fixture.h"
#include "tests/gui/gui_run.h"
#include "tests/support/rally_builders.h"

namespace rallinox::guitest {
namespace {

namespace fs = std::filesystem;
using test::makeHint;

// An analysed project of four rallies with a missed stretch between the
// second and the third and a doubtful third rally.
std::string writeAnalysedProject(const GuiRun& run, const fs::path& video) {
    Project project = readyProject(run, video, 60, {{2, 10}, {14, 22}, {30, 40}, {44, 52}});
    project.hints = {makeHint(HintKind::Doubtful, 30, 40), makeHint(HintKind::Missed, 24, 28)};
    saveProject(run, project);
    return project.id;
}

TEST(EditorReviewAndScore, HintsAnsweredTeamsNamedAndRalliesScoredAreSaved) {
    GuiRun run;
    const std::string id = writeAnalysedProject(run, makeMatchVideo(run, "final.mp4", 60));
    ASSERT_EQ(run.play("wait 5\nclick-label Open\nwait 5\nexpect-title final  -  Rallinox\n"
                       // The hints come by time: the missed stretch first.
                       "click-label ###check\nwait 3\nexpect-text 1 of 2\nexpect-text Missed rally?\n"
                       "expect-text 0:24 to 0:28 (4.0 s), between Rally 2 and Rally 3\n"
                       "expect-text Rally to add: 0:24 to 0:28 (4.0 s)\nscreenshot check.png\n"
                       "click-label Add as rally\nwait 3\n"
                       // The added rally is now Rally 3, so the doubtful one is Rally 4.
                       "expect-text 1 of 1\nexpect-text 0:30 to 0:40 (10.0 s), Rally 4\n"
                       "expect-text plays 0:30 to 0:40, marked on the timeline\nscreenshot doubtful.png\n"
                       "click-label Delete this rally\nwait 3\nexpect-text Nothing left to check.\n"
                       "screenshot checked.png\n"
                       // Teams and rules.
                       "click-label ###score\nwait 3\nexpect-text Best of 5  -  25 / 15 points\n"
                       "click-label Match setup...\nwait 3\nscreenshot setup.png\n"
                       "click-label Home team\nwait 2\nkey ctrl+a\ntype Lions\nwait 2\n"
                       "click-label Away team\nwait 2\nkey ctrl+a\ntype Tigers\nwait 2\n"
                       "click-label Beach (21 / 15)\nwait 2\nexpect-text Best of 3  -  21 / 15 points\n"
                       "click-label Done\nwait 3\nexpect-no-text Match setup\n"
                       // Scoring walks from rally to rally.
                       "expect-text Pick a rally to score it\nexpect-text 0 of 4 rallies scored\n"
                       "click-label Next unscored [U]\nwait 3\nexpect-text Who won Rally 1?\n"
                       "expect-text End of Rally 1  -  rally length 0:08\nscreenshot scoring.png\n"
                       "click-label Lions\\n[1]\nwait 3\nexpect-text Who won Rally 2?\n"
                       "click-label Tigers\\n[2]\nwait 3\nexpect-text Who won Rally 3?\n"
                       "click-label Lions\\n[1]\nwait 3\nexpect-text Who won Rally 4?\nexpect-text S1  2-1\n"
                       "click-label Swap sides\nwait 3\nclick-label Tigers\\n[1]\nwait 3\n"
                       "expect-text 4 of 4 rallies scored\nexpect-no-text Next unscored [U]\nexpect-text S1  2-2\n"
                       // A set mark after a set nobody won is flagged.
                       "click-label New set starts here [S]\nwait 3\nexpect-text S2  0-1\nexpect-text Check the score\n"
                       "expect-text Set 1 ended at 2-1, which does not win a set. A point or a set end may be missing.\n"
                       "screenshot scored.png\nclose\n"),
              0)
        << run.output();

    const Project project = loadProject(run, id);
    ASSERT_EQ(project.rallies.size(), 4u);
    EXPECT_EQ(project.rallies[2].source, "manual");
    EXPECT_EQ(project.rallies[2].startSec, 24);
    EXPECT_EQ(project.rallies[2].endSec, 28);
    EXPECT_EQ(project.rallies[3].id, 4) << "the doubtful rally is gone";
    EXPECT_EQ(project.rallies[0].winner, Winner::Home);
    EXPECT_EQ(project.rallies[1].winner, Winner::Away);
    EXPECT_EQ(project.rallies[2].winner, Winner::Home);
    EXPECT_EQ(project.rallies[3].winner, Winner::Away);
    EXPECT_TRUE(project.rallies[3].setStart);
    EXPECT_TRUE(project.hints[0].done && project.hints[1].done);
    EXPECT_EQ(project.match.homeName, "Lions");
    EXPECT_EQ(project.match.awayName, "Tigers");
    EXPECT_EQ(project.match.bestOf, 3);
    EXPECT_EQ(project.match.setPoints, 21);
    EXPECT_FALSE(project.match.homeOnLeft);
}

// Three rallies; the second holds a pause at 22 s, the third is doubtful.
std::string writeProjectWithAPause(const GuiRun& run, const fs::path& video) {
    Project project = readyProject(run, video, 60, {{2, 10}, {14, 30}, {34, 42}});
    project.hints = {makeHint(HintKind::Joined, 14, 30, 22), makeHint(HintKind::Doubtful, 34, 42)};
    saveProject(run, project);
    return project.id;
}

TEST(EditorReviewAndScore, KeptPartsTheFirstScoreTipAndTheClipChoicesAreShownAndKept) {
    GuiRun run;
    const std::string id = writeProjectWithAPause(run, makeMatchVideo(run, "final.mp4", 60));
    ASSERT_EQ(run.play("wait 5\nclick-label Open\nwait 5\n"
                       "click-label ###check\nwait 3\nexpect-text Two rallies joined?\n"
                       "expect-text 0:14 to 0:30 (16.0 s), Rally 2, pause at 0:22\n"
                       "expect-text plays 0:17 to 0:27, marked on the timeline\n"
                       "expect-text Only one side is real play? Keep it and drop the rest:\nscreenshot joined.png\nclick-label Play it again\nwait 3\nscreenshot playing.png\n"
                       "click-label Keep second part (8.0 s)\nwait-for Kept the second part  -  Ctrl+Z undoes it\n"
                       "expect-text Not a rally?\nclick-label It's a rally\nwait 3\nexpect-text Nothing left to check.\n"
                       // The first score with the default names suggests naming the teams.
                       "click-label ###score\nwait 3\nclick-label Next unscored [U]\nwait 3\n"
                       "click-label Home\\n[1]\nwait-for Tip: name the teams in \"Match setup...\" (Score tab): the "
                       "names go on the exported scoreboard\nexpect-text Who won Rally 2?\n"
                       "click-label Next serve\nwait 3\n"
                       "expect-text Start of Rally 3: the serving team won Rally 2  -  rally length 0:08\n"
                       "click-label Whole rally\nwait 3\nscreenshot whole.png\n"
                       "expect-text All of Rally 2  -  rally length 0:08\n"
                       "click-label Show more [M]\nwait 3\n"
                       "expect-text Start of Rally 3: the serving team won Rally 2  -  rally length 0:08\n"
                       "screenshot next_serve.png\n"
                       "click-label Away\\n[2]\nwait 3\nexpect-text Who won Rally 3?\n"
                       "expect-text End of Rally 3: no rally after it  -  rally length 0:08\n"
                       "click-label Away\\n[2]\nwait 3\nclick-label Clear [0]\nwait 3\nexpect-text 2 of 3 rallies scored\n"
                       // An emptied name falls back to the default.
                       "click-label Match setup...\nwait 3\nclick-label Home team\nwait 2\nkey ctrl+a\nkey backspace\n"
                       "wait 2\nclick-label Done\nwait 3\nclose\n"),
              0)
        << run.output();

    const Project project = loadProject(run, id);
    ASSERT_EQ(project.rallies.size(), 3u);
    EXPECT_EQ(project.rallies[1].startSec, 22) << "the second part was kept";
    EXPECT_EQ(project.rallies[1].endSec, 30);
    EXPECT_EQ(project.rallies[0].winner, Winner::Home);
    EXPECT_EQ(project.rallies[1].winner, Winner::Away);
    EXPECT_EQ(project.rallies[2].winner, Winner::None) << "cleared";
    EXPECT_TRUE(project.hints[0].done && project.hints[1].done);
    EXPECT_EQ(project.match.homeName, "Home");
    EXPECT_NE(readFile(run.dataDir() / "settings.json").find("\"decideByNextServe\": true"), std::string::npos)
        << readFile(run.dataDir() / "settings.json");
}

}  // namespace
}  // namespace rallinox::guitest
