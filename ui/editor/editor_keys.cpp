#include "ui/editor/editor_keys.h"

#include <imgui.h>

#include <algorithm>

#include "app/shell/app.h"
#include "edit/match_score.h"
#include "edit/rally_queries.h"
#include "ui/editor/deciding_clip.h"
#include "ui/kit/keys.h"
#include "ui/editor/player_controls.h"
#include "ui/editor/rally_actions.h"
#include "ui/editor/score_tab.h"

namespace rallinox::ui {

namespace {

constexpr double kSeekStepSec = 5.0;
constexpr double kFineSeekStepSec = 1.0;

void seekBy(PreviewPlayer& player, double deltaSec) { player.seek(std::max(player.position() + deltaSec, 0.0)); }

// Keys that act on the highlighted rally; they do nothing without one.
void handleRallyKeys(App& app) {
    if (highlightedIndex(app) < 0) return;
    if (keyPressed(Key::I, true)) startHighlightedHere(app);
    if (keyPressed(Key::O, true)) endHighlightedHere(app);
    if (keyPressed(Key::Digit1)) scoreHighlightedRally(app, Side::Left);
    if (keyPressed(Key::Digit2)) scoreHighlightedRally(app, Side::Right);
    if (keyPressed(Key::Digit0) || keyPressed(Key::Backspace)) clearHighlightedWinner(app);
    if (keyPressed(Key::S)) toggleSetStart(app);
    if (keyPressed(Key::R)) playDecidingClip(app, false);
    if (keyPressed(Key::M)) playDecidingClip(app, true);
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
    if (keyPressed(Key::Space, true)) togglePlayback(app);
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
    if (decidingClipActive(app)) {
        playNeighbourClip(app, +1);
        return;
    }
    const int next = nextRallyByTime(app.openProject->rallies, app.player.position());
    if (next >= 0) goToRally(app, app.openProject->rallies[next].id);
}

void goToPreviousRally(App& app) {
    if (!app.openProject) return;
    if (decidingClipActive(app)) {
        playNeighbourClip(app, -1);
        return;
    }
    const int previous = previousRallyByTime(app.openProject->rallies, app.player.position());
    if (previous >= 0) goToRally(app, app.openProject->rallies[previous].id);
}

}  // namespace rallinox::ui
