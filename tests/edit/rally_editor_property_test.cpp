// Random edit sequences on random rally lists: whatever the user does, the
// list stays a valid cut of the video, and undo and redo walk exactly the
// lists the edits went through.
#include "edit/rally_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <string>

namespace rallinox {
namespace {

class RandomEdits {
public:
    explicit RandomEdits(unsigned seed) : random_(seed) {}

    // Touching or separated rallies, some shorter than an edit may make them.
    Project randomProject() {
        Project project;
        double time = uniform(0, 20);
        const int count = static_cast<int>(uniform(0, 12));
        for (int i = 0; i < count; ++i) {
            Rally rally;
            rally.id = project.nextRallyId++;
            rally.startSec = time;
            rally.endSec = time + (chance(0.2) ? uniform(0, 0.5) : uniform(0.5, 15));
            rally.winner = static_cast<Winner>(static_cast<int>(uniform(0, 3)));
            project.rallies.push_back(rally);
            time = rally.endSec + (chance(0.2) ? 0 : uniform(0, 10));
        }
        project.videoDurationSec = chance(0.1) ? 0 : time + uniform(0, 20);
        return project;
    }

    // One in four steps goes back or forward in the history.
    enum class Move { Edit, Undo, Redo };
    Move randomMove() {
        const double roll = uniform(0, 1);
        return roll < 0.15 ? Move::Undo : roll < 0.25 ? Move::Redo : Move::Edit;
    }

    // Applies one random edit; returns whether the editor reported a change.
    bool randomEdit(RallyEditor& editor, const Project& project) {
        const int64_t id = randomId(project);
        const double time = randomTime(project, id);
        switch (static_cast<int>(uniform(0, 11))) {
            case 0: return editor.changeStart(id, time);
            case 1: return editor.changeEnd(id, time);
            case 2: return editor.splitAt(id, time);
            case 3: return editor.keepPart(id, time, chance(0.5));
            case 4: return editor.joinWithNext(id);
            case 5: return editor.deleteRally(id);
            case 6: return editor.renameRally(id, chance(0.5) ? "" : "serve");
            case 7: return editor.addRally(time, chance(0.7) ? time + 8 : randomTime(project, id)) != 0;
            case 8: return editor.setWinner(id, static_cast<Winner>(static_cast<int>(uniform(0, 3))));
            case 9: return editor.setSetStart(id, chance(0.5));
            default: return chance(0.8) ? editor.setSelected(id, chance(0.5)) : editor.setAllSelected(chance(0.5));
        }
    }

private:
    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }
    bool chance(double p) { return uniform(0, 1) < p; }

    int64_t randomId(const Project& project) {
        if (project.rallies.empty() || chance(0.05)) return project.nextRallyId + 7;
        return project.rallies[static_cast<size_t>(uniform(0, static_cast<double>(project.rallies.size())))].id;
    }

    // Mostly near the chosen rally, where edits are most likely to collide.
    double randomTime(const Project& project, int64_t id) {
        const double end = std::max(project.videoDurationSec, 60.0);
        const auto rally = std::find_if(project.rallies.begin(), project.rallies.end(),
                                        [id](const Rally& r) { return r.id == id; });
        if (rally == project.rallies.end() || chance(0.3)) return uniform(-10, end + 10);
        return uniform(rally->startSec - 3, rally->endSec + 3);
    }

    std::mt19937 random_;
};

void expectValidCut(const Project& project, const std::map<int64_t, double>& analysisLengths) {
    std::set<int64_t> ids;
    for (size_t i = 0; i < project.rallies.size(); ++i) {
        const Rally& rally = project.rallies[i];
        if (i > 0) {
            const Rally& previous = project.rallies[i - 1];
            EXPECT_LE(previous.startSec, rally.startSec) << "unsorted at " << i;
            EXPECT_LE(previous.endSec, rally.startSec) << "overlap at " << i;
        }
        const auto analysed = analysisLengths.find(rally.id);
        const double shortest = analysed == analysisLengths.end() ? 0.5 : std::min(0.5, analysed->second);
        EXPECT_GE(rally.endSec - rally.startSec, shortest) << "rally " << rally.id;
        EXPECT_GT(rally.id, 0);
        EXPECT_LT(rally.id, project.nextRallyId);
        EXPECT_TRUE(ids.insert(rally.id).second) << "id " << rally.id << " twice";
    }
}

// The rally lists an editor can go back and forward to, kept the plain way.
class HistoryModel {
public:
    void edited(const std::vector<Rally>& before) {
        push(undo_, before);
        redo_.clear();
    }
    // The list undo or redo must restore; none when there is no step.
    const std::vector<Rally>* next(bool forward) const {
        const auto& steps = forward ? redo_ : undo_;
        return steps.empty() ? nullptr : &steps.back();
    }
    void travelled(bool forward, const std::vector<Rally>& before) {
        auto& from = forward ? redo_ : undo_;
        from.pop_back();
        push(forward ? undo_ : redo_, before);
    }

private:
    static void push(std::deque<std::vector<Rally>>& steps, const std::vector<Rally>& rallies) {
        steps.push_back(rallies);
        if (steps.size() > RallyEditor::kMaxUndoSteps) steps.pop_front();
    }

    std::deque<std::vector<Rally>> undo_;
    std::deque<std::vector<Rally>> redo_;
};

// The rally an undo or redo names is the first one it brought back or changed.
void expectRestoredRally(int64_t restoredId, const std::vector<Rally>& before, const std::vector<Rally>& after) {
    const auto changed = std::find_if(after.begin(), after.end(), [&](const Rally& rally) {
        return std::find(before.begin(), before.end(), rally) == before.end();
    });
    EXPECT_EQ(restoredId, changed == after.end() ? 0 : changed->id);
}

TEST(RallyEditorProperty, RandomEditSequencesKeepAValidRallyListAndUndoAndRedoRetraceThem) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomEdits edits(seed);
        Project project = edits.randomProject();
        std::map<int64_t, double> analysisLengths;
        for (const Rally& rally : project.rallies) analysisLengths[rally.id] = rally.endSec - rally.startSec;
        RallyEditor editor(project);

        HistoryModel history;

        for (int step = 0; step < 120; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            const Project before = project;
            const std::string labelBefore = editor.undoLabel();
            const RandomEdits::Move move = edits.randomMove();
            if (move == RandomEdits::Move::Edit) {
                if (edits.randomEdit(editor, project)) {
                    history.edited(before.rallies);
                } else {
                    ASSERT_EQ(project, before) << "a refused edit changed the project";
                    ASSERT_EQ(editor.undoLabel(), labelBefore);
                }
            } else {
                const bool forward = move == RandomEdits::Move::Redo;
                const std::vector<Rally>* expected = history.next(forward);
                ASSERT_EQ(forward ? editor.redo() : editor.undo(), expected != nullptr);
                if (expected) {
                    ASSERT_EQ(project.rallies, *expected);
                    history.travelled(forward, before.rallies);
                    expectRestoredRally(editor.restoredRallyId(), before.rallies, project.rallies);
                }
                ASSERT_EQ(project.nextRallyId, before.nextRallyId) << "ids handed out stay used";
            }
            ASSERT_EQ(editor.canUndo(), history.next(false) != nullptr);
            ASSERT_EQ(editor.canRedo(), history.next(true) != nullptr);
            ASSERT_GE(project.nextRallyId, before.nextRallyId);
            expectValidCut(project, analysisLengths);
            if (HasFailure()) return;
        }
    }
}

}  // namespace
}  // namespace rallinox
