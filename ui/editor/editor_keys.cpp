#include "ui/editor/editor_keys.h"

#include <imgui.h>

#include <algorithm>

#include "ui/editor/editor_context.h"
#include "edit/match_score.h"
#include "edit/rally_queries.h"
#include "ui/editor/deciding_clip.h"
#include "ui/kit/keys.h"
#include "ui/editor/player_controls.h"
#include "ui/editor/rally_actions.h"
#include "ui/editor/score_tab.h"
#include "video/preview_player.h"

namespace rallinox::ui {

namespace {

constexpr double kSeekStepSec = 5.0;
constexpr double kFineSeekStepSec = 1.0;

void seekBy(PreviewPlayer& player, double deltaSec) { player.seek(std::max(player.position() + deltaSec, 0.0)); }

// Keys that act on the highlighted rally; they do nothing without one.
void handleRallyKeys(EditorContext& editor) {
    if (highlightedIndex(editor) < 0) return;
    if (keyPressed(Key::I, true)) startHighlightedHere(editor);
    if (keyPressed(Key::O, true)) endHighlightedHere(editor);
    if (keyPressed(Key::Digit1)) scoreHighlightedRally(editor, Side::Left);
    if (keyPressed(Key::Digit2)) scoreHighlightedRally(editor, Side::Right);
    if (keyPressed(Key::Digit0) || keyPressed(Key::Backspace)) clearHighlightedWinner(editor);
    if (keyPressed(Key::S)) toggleSetStart(editor);
    if (keyPressed(Key::R)) playDecidingClip(editor, false);
    if (keyPressed(Key::M)) playDecidingClip(editor, true);
    // Last: the rally is gone afterwards.
    if (keyPressed(Key::Delete, true)) deleteRallyWithMessage(editor, editor.selectedRallyId);
}

}  // namespace

void handleEditorKeys(EditorContext& editor) {
    if (anyPopupOpen() || editor.fileDialogOpen) return;
    if (keyPressed(Key::F1, true)) editor.state.shortcutsRequested = true;
    if (ImGui::GetIO().WantTextInput) return;
    if (ctrlDown()) {
        // Ctrl with a letter belongs to the program's own shortcuts (Ctrl+O, Ctrl+E).
        const bool z = keyPressed(Key::Z, true);
        if (keyPressed(Key::Y, true) || (z && shiftDown())) {
            redoWithMessage(editor);
        } else if (z) {
            undoWithMessage(editor);
        }
        return;
    }
    if (keyPressed(Key::Space, true)) togglePlayback(editor);
    const double step = shiftDown() ? kFineSeekStepSec : kSeekStepSec;
    if (keyPressed(Key::Left, true)) seekBy(editor.player, -step);
    if (keyPressed(Key::Right, true)) seekBy(editor.player, step);
    if (keyPressed(Key::N, true) || keyPressed(Key::Down, true)) goToNextRally(editor);
    if (keyPressed(Key::P, true) || keyPressed(Key::Up, true)) goToPreviousRally(editor);
    if (keyPressed(Key::A, true)) addRallyAtPlayhead(editor);
    if (keyPressed(Key::U)) goToNextUnscored(editor);
    handleRallyKeys(editor);
}

void goToNextRally(EditorContext& editor) {
    if (decidingClipActive(editor)) {
        playNeighbourClip(editor, +1);
        return;
    }
    const int next = nextRallyByTime(editor.project.rallies, editor.player.position());
    if (next >= 0) goToRally(editor, editor.project.rallies[next].id);
}

void goToPreviousRally(EditorContext& editor) {
    if (decidingClipActive(editor)) {
        playNeighbourClip(editor, -1);
        return;
    }
    const int previous = previousRallyByTime(editor.project.rallies, editor.player.position());
    if (previous >= 0) goToRally(editor, editor.project.rallies[previous].id);
}

}  // namespace rallinox::ui
