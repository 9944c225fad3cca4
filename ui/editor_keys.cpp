#include "ui/editor_keys.h"

#include <imgui.h>

#include <algorithm>

#include "app/app.h"
#include "edit/match_score.h"
#include "edit/rally_navigation.h"
#include "ui/keys.h"
#include "ui/rally_actions.h"

namespace rallinox::ui {

namespace {

constexpr double kSeekStepSec = 5.0;
constexpr double kFineSeekStepSec = 1.0;
constexpr const char* kNameTheTeamsTip =
    "Tip: name the teams in \"Match setup...\" (Score tab): the names go on the exported scoreboard";

void togglePlayback(PreviewPlayer& player) {
    if (player.playing()) {
        player.pause();
    } else {
        player.play();
    }
}

void seekBy(PreviewPlayer& player, double deltaSec) { player.seek(std::max(player.position() + deltaSec, 0.0)); }

void markChanged(App& app, bool didChange) {
    if (didChange) app.editor.saveAtFrameEnd = true;
}

void scoreHighlighted(App& app, Side side) {
    const Project& project = *app.openProject;
    const bool firstScore = std::none_of(project.rallies.begin(), project.rallies.end(),
                                         [](const Rally& rally) { return rally.winner != Winner::None; });
    const Winner winner = winnerForSide(side, project.match.homeOnLeft);
    if (!app.rallyEditor->setWinner(app.selectedRallyId, winner)) return;
    markChanged(app, true);
    if (firstScore && project.match.homeName == "Home" && project.match.awayName == "Away") {
        app.showToast(kNameTheTeamsTip);
    }
}

void toggleSetStart(App& app) {
    const int index = highlightedIndex(app);
    const bool marked = app.openProject->rallies[index].setStart;
    markChanged(app, app.rallyEditor->setSetStart(app.selectedRallyId, !marked));
}

void goToNextUnscored(App& app) {
    const int next = nextUnscored(app.openProject->rallies, highlightedIndex(app));
    if (next < 0) {
        app.showToast("Every rally has a score");
        return;
    }
    goToRally(app, app.openProject->rallies[next].id);
}

// Keys that act on the highlighted rally; they do nothing without one.
void handleRallyKeys(App& app) {
    if (highlightedIndex(app) < 0) return;
    if (keyPressed(Key::I, true)) startHighlightedHere(app);
    if (keyPressed(Key::O, true)) endHighlightedHere(app);
    if (keyPressed(Key::Digit1)) scoreHighlighted(app, Side::Left);
    if (keyPressed(Key::Digit2)) scoreHighlighted(app, Side::Right);
    if (keyPressed(Key::Digit0) || keyPressed(Key::Backspace)) {
        markChanged(app, app.rallyEditor->setWinner(app.selectedRallyId, Winner::None));
    }
    if (keyPressed(Key::S)) toggleSetStart(app);
    // Last: the rally is gone afterwards.
    if (keyPressed(Key::Delete, true)) deleteRallyWithMessage(app, app.selectedRallyId);
}

}  // namespace

void handleEditorKeys(App& app) {
    if (!app.openProject || !app.rallyEditor || anyPopupOpen() || app.fileDialogs.isOpen()) return;
    if (keyPressed(Key::F1, true)) app.editor.shortcutsRequested = true;
    if (ImGui::GetIO().WantTextInput) return;
    if (ctrlDown()) {
        // Ctrl with a letter belongs to the program's own shortcuts (Ctrl+O, Ctrl+E).
        if (keyPressed(Key::Z, true)) undoWithMessage(app);
        return;
    }
    if (keyPressed(Key::Space, true)) togglePlayback(app.player);
    const double step = shiftDown() ? kFineSeekStepSec : kSeekStepSec;
    if (keyPressed(Key::Left, true)) seekBy(app.player, -step);
    if (keyPressed(Key::Right, true)) seekBy(app.player, step);
    if (keyPressed(Key::N, true) || keyPressed(Key::Down, true)) goToNextRally(app);
    if (keyPressed(Key::P, true) || keyPressed(Key::Up, true)) goToPreviousRally(app);
    if (keyPressed(Key::A, true)) addRallyAtPlayhead(app);
    if (keyPressed(Key::U)) goToNextUnscored(app);
    handleRallyKeys(app);
}

void goToNextRally(App& app) {
    if (!app.openProject) return;
    const int next = nextRallyByTime(app.openProject->rallies, app.player.position());
    if (next >= 0) goToRally(app, app.openProject->rallies[next].id);
}

void goToPreviousRally(App& app) {
    if (!app.openProject) return;
    const int previous = previousRallyByTime(app.openProject->rallies, app.player.position());
    if (previous >= 0) goToRally(app, app.openProject->rallies[previous].id);
}

}  // namespace rallinox::ui
