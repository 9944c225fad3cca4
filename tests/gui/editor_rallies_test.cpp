// The rally list, the edit bar, the trim strip and the editing keys on a
// project with three rallies: ticking, renaming, deleting from the row menu,
// adding with A, trimming, undoing and redoing, each saved into project.json
// at once.
#include <gtest/gtest.h>

#include "tests/gui/editor_fixture.h"
#include "tests/gui/gui_run.h"

namespace rallinox::guitest {
namespace {

// A ready project for a minute-long video with rallies at 5-12, 20-28 and
// 40-50 s.
std::string makeReadyProject(const GuiRun& run, Winner firstRallyWinner = Winner::None) {
    Project project = readyProject(run, makeMatchVideo(run, "league.mp4", 60), 60, {{5, 12}, {20, 28}, {40, 50}});
    project.rallies[0].winner = firstRallyWinner;
    saveProject(run, project);
    return project.id;
}

TEST(RallyList, TicksRenamesDeletesAddsAndUndoesAndSavesEachChange) {
    GuiRun run;
    const std::string id = makeReadyProject(run, Winner::Home);
    ASSERT_EQ(run.play("wait 30\nclick-label Open\nwait-for Ticked rallies are exported\n"
                       "expect-text 3 of 3 ticked  -  0:25 will be exported  -  breaks 0:35 of 1:00\n"
                       "expect-text Ticked rallies are exported\nexpect-text Score\nexpect-text 1-0\nscreenshot opened.png\n"
                       "hover-label 12.0 s\nwait 20\nexpect-text Break before this rally\n"
                       "hover-label 1-0\nwait 20\nexpect-text Set 1\n"
                       "hover-label Rally 3\nwait 20\nexpect-text Click: go to it   Double-click: play   Right-click: more\n"
                       "screenshot tip.png\n"
                       // The last row's tick.
                       "click-label ##sel\nwait 3\n"
                       "expect-text 2 of 3 ticked  -  0:15 will be exported  -  breaks 0:35 of 1:00\n"
                       "click-label Untick all\nwait 3\nexpect-text 0 of 3 ticked  -  0:00 will be exported  -  "
                       "breaks 0:35 of 1:00\n"
                       "click-label Tick all\nwait 3\nclick-label ##sel\nwait 3\nexpect-text 2 of 3 ticked  -  0:15 "
                       "will be exported  -  breaks 0:35 of 1:00\n"
                       // The first rally is highlighted on opening; keys stay out of the rename field.
                       "key F2\nwait 3\nkey a\nwait 2\ntype Ace\nwait 2\nscreenshot renaming.png\nkey enter\nwait 3\n"
                       "expect-text Ace\nexpect-no-text Rally 1\nexpect-no-text Rally 2  (added)\n"
                       "right-click-label Rally 2\nwait 3\nexpect-text Export only this rally...\n"
                       "screenshot rowmenu.png\nclick-label Delete\nwait 3\n"
                       "expect-text Rally 2 deleted  -  Ctrl+Z brings it back\n"
                       "expect-text 1 of 2 ticked  -  0:07 will be exported  -  breaks 0:43 of 1:00\n"
                       // From the first rally's start to 30 s, back to 28 s, then an 8 s
                       // rally that ends before the one at 40 s.
                       "key right\nkey right\nkey right\nkey right\nkey right\n"
                       "key shift+left\nkey shift+left\n"
                       "key a\nwait 3\nexpect-text Rally 2  (added)\nexpect-text 0:28\nscreenshot added.png\n"
                       "expect-text 2 of 3 ticked  -  0:15 will be exported  -  breaks 0:35 of 1:00\n"
                       "key ctrl+z\nwait 3\nexpect-text Undone: add a rally\nexpect-no-text Rally 2  (added)\n"
                       "screenshot undone.png\n"
                       "right-click-label Rally 2\nwait 3\nclick-label Rename\nwait 3\ntype Block\nkey enter\nwait 3\n"
                       "expect-text Block\nexpect-no-text Rally 2\nclose\n"),
              0)
        << run.output();

    const Project saved = loadProject(run, id);
    ASSERT_EQ(saved.rallies.size(), 2u);
    EXPECT_EQ(saved.rallies[0].id, 1);
    EXPECT_EQ(saved.rallies[0].name, "Ace");
    EXPECT_TRUE(saved.rallies[0].selected);
    EXPECT_EQ(saved.rallies[0].winner, Winner::Home);
    EXPECT_EQ(saved.rallies[1].id, 3);
    EXPECT_EQ(saved.rallies[1].name, "Block");
    EXPECT_FALSE(saved.rallies[1].selected);
    EXPECT_EQ(saved.nextRallyId, 5) << "the undone rally's id stays used";
}

TEST(TrimStrip, HandlesStopAtTheirLimitsAndEachDragIsOneUndoStep) {
    GuiRun run;
    const std::string id = makeReadyProject(run);
    // The strip shows 0-18 s around the first rally; its start can go down
    // to 0, its end up to 18 s.
    ASSERT_EQ(run.play("wait 30\nclick-label Open\nwait-for Ticked rallies are exported\nexpect-text 7.0 s\n"
                       "drag-label ##trimStart -262 0\nwait 3\nexpect-text 12.0 s\nexpect-text 0:00\n"
                       "drag-label ##trimEnd 600 0\nwait 3\nexpect-text 18.0 s\nscreenshot trimmed.png\n"
                       "key ctrl+z\nwait 3\nexpect-text Undone: change the end of Rally 1\nexpect-text 12.0 s\n"
                       "close\n"),
              0)
        << run.output();
    const Project saved = loadProject(run, id);
    ASSERT_EQ(saved.rallies.size(), 3u);
    EXPECT_DOUBLE_EQ(saved.rallies[0].startSec, 0);
    EXPECT_DOUBLE_EQ(saved.rallies[0].endSec, 12);
}

TEST(RallyList, UndoAndRedoCoverTicksAndHighlightTheRallyTheyTouch) {
    GuiRun run;
    const std::string id = makeReadyProject(run);
    ASSERT_EQ(run.play("wait 30\nclick-label Open\nwait-for Ticked rallies are exported\n"
                       "click-label Untick all\nwait 3\n"
                       "expect-text 0 of 3 ticked  -  0:00 will be exported  -  breaks 0:35 of 1:00\n"
                       "key ctrl+z\nwait 3\nexpect-text Undone: untick all rallies\n"
                       "expect-text 3 of 3 ticked  -  0:25 will be exported  -  breaks 0:35 of 1:00\n"
                       "key ctrl+shift+z\nwait 3\nexpect-text Redone: untick all rallies\n"
                       "expect-text 0 of 3 ticked  -  0:00 will be exported  -  breaks 0:35 of 1:00\n"
                       "key ctrl+z\nwait 3\n"
                       "expect-text 3 of 3 ticked  -  0:25 will be exported  -  breaks 0:35 of 1:00\n"
                       // Deleting leaves nothing highlighted; the undo highlights the rally it
                       // brought back, so that "Join with next" acts on it at once.
                       "right-click-label Rally 2\nwait 3\nclick-label Delete\nwait 3\n"
                       "click-label Undo\nwait 3\nexpect-text Undone: delete Rally 2\n"
                       "click-label Join with next\nwait 3\n"
                       "expect-text 2 of 2 ticked  -  0:37 will be exported  -  breaks 0:23 of 1:00\n"
                       "key ctrl+z\nwait 3\nexpect-text Undone: join Rally 2 with the next rally\n"
                       "key ctrl+y\nwait 3\nexpect-text Redone: join Rally 2 with the next rally\n"
                       "expect-text 2 of 2 ticked  -  0:37 will be exported  -  breaks 0:23 of 1:00\n"
                       "click-label Undo\nwait 3\nexpect-text 3 of 3 ticked  -  0:25 will be exported  -  "
                       "breaks 0:35 of 1:00\n"
                       "hover-label Redo\nwait 20\nexpect-text Redo: join Rally 2 with the next rally  [Ctrl+Shift+Z]\n"
                       "screenshot redo.png\nclick-label Redo\nwait 3\n"
                       "expect-text 2 of 2 ticked  -  0:37 will be exported  -  breaks 0:23 of 1:00\n"
                       "hover-label Redo\nwait 20\nexpect-text Nothing to redo\nclose\n"),
              0)
        << run.output();
    const Project saved = loadProject(run, id);
    ASSERT_EQ(saved.rallies.size(), 2u);
    EXPECT_DOUBLE_EQ(saved.rallies[1].startSec, 20);
    EXPECT_DOUBLE_EQ(saved.rallies[1].endSec, 50);
    EXPECT_TRUE(saved.rallies[0].selected && saved.rallies[1].selected);
}

TEST(TrimStrip, HandleDraggedOntoTheNeighbourKeepsItsRallyAndTheEdit) {
    GuiRun run;
    const Project project =
        readyProject(run, makeMatchVideo(run, "league.mp4", 60), 60, {{5, 12}, {14, 28}, {40, 50}});
    saveProject(run, project);
    // The end stops at the next rally's start; the picture follows it there,
    // where both rallies hold the playhead.
    ASSERT_EQ(run.play("wait 30\nclick-label Open\nwait-for Ticked rallies are exported\n"
                       "drag-label ##trimEnd 600 0\nwait 3\nexpect-text 9.0 s\n"
                       "hover-label Undo\nwait 20\nexpect-text Undo: change the end of Rally 1  [Ctrl+Z]\n"
                       "screenshot touching.png\n"
                       // Scores the highlighted rally.
                       "key 1\nwait 3\nclose\n"),
              0)
        << run.output();
    const Project saved = loadProject(run, project.id);
    ASSERT_EQ(saved.rallies.size(), 3u);
    EXPECT_DOUBLE_EQ(saved.rallies[0].endSec, 14);
    EXPECT_NE(saved.rallies[0].winner, Winner::None) << "the dragged rally stays highlighted";
    EXPECT_DOUBLE_EQ(saved.rallies[1].startSec, 14);
    EXPECT_EQ(saved.rallies[1].winner, Winner::None);
}

TEST(EditorKeys, ScoringKeysTheShortcutsWindowAndKeysThatNeedNoRally) {
    GuiRun run;
    const std::string id = makeReadyProject(run);
    ASSERT_EQ(run.play("wait 30\nclick-label Open\nwait-for Ticked rallies are exported\n"
                       "key F1\nwait 3\nexpect-text Keyboard shortcuts\nexpect-text Show 5 s more of that clip\n"
                       "screenshot shortcuts.png\nkey 2\nwait 2\nkey escape\nwait 3\n"
                       "expect-no-text Keyboard shortcuts\nexpect-no-text 0-1\n"
                       // Away is on the right; the first score brings the tip and the Score
                       // tab, and goes on to the next rally (then switched off here).
                       "key 2\nwait 3\nexpect-text Tip: name the teams in \"Match setup...\" (Score tab): the "
                       "names go on the exported scoreboard\n"
                       "click-label After scoring, go to the next rally and play its clip\nwait 2\n"
                       "click-label ###rallies\nwait 3\nexpect-text 0-1\n"
                       "key u\nkey 1\nwait 2\nkey s\nwait 3\nclick-label ###rallies\nwait 3\nexpect-text | 1-0\n"
                       "screenshot scored.png\n"
                       "key u\nkey backspace\nwait 2\nkey 0\nkey u\nkey 1\nkey u\nwait 3\n"
                       "expect-text Every rally has a score\nclick-label ###rallies\nwait 3\n"
                       // Nothing highlighted: Delete does nothing; P highlights by time. The
                       // clip that U played ends first, or the playhead would highlight again.
                       "wait-for Play\nright-click-label Rally 1\nclick-label Delete\nwait 3\nkey delete\nwait 3\n"
                       "expect-text 2 of 2 ticked  -  0:18 will be exported  -  breaks 0:42 of 1:00\n"
                       "key p\nkey delete\nwait 3\nexpect-text 1 of 1 ticked  -  0:10 will be exported  -  "
                       "breaks 0:50 of 1:00\nclose\n"),
              0)
        << run.output();
    const Project saved = loadProject(run, id);
    ASSERT_EQ(saved.rallies.size(), 1u);
    EXPECT_EQ(saved.rallies[0].id, 3);
    EXPECT_EQ(saved.rallies[0].winner, Winner::Home);
}

}  // namespace
}  // namespace rallinox::guitest
