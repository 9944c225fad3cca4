#include "ui/editor/rally_actions.h"

#include <string>

#include "edit/rally_editor.h"
#include "ui/editor/editor_context.h"
#include "video/preview_player.h"

namespace rallinox::ui {

namespace {

void changed(EditorContext& editor, bool didChange) {
    if (didChange) editor.state.saveAtFrameEnd = true;
}

// After an undo or redo: the rally it touched, or none when the highlighted one went away.
void highlightRestored(EditorContext& editor) {
    if (const int64_t restored = editor.rallyEditor.restoredRallyId(); restored != 0) {
        editor.selectedRallyId = restored;
    } else if (highlightedIndex(editor) < 0) {
        editor.selectedRallyId = 0;
    }
}

}  // namespace

int highlightedIndex(const EditorContext& editor) {
    if (editor.selectedRallyId == 0) return -1;
    return editor.rallyEditor.indexOfId(editor.selectedRallyId);
}

void goToRally(EditorContext& editor, int64_t id) {
    const int index = editor.rallyEditor.indexOfId(id);
    if (index < 0) return;
    editor.selectedRallyId = id;
    editor.player.seek(editor.project.rallies[index].startSec);
}

void startHighlightedHere(EditorContext& editor) {
    changed(editor, editor.rallyEditor.changeStart(editor.selectedRallyId, editor.player.position()));
}

void endHighlightedHere(EditorContext& editor) {
    changed(editor, editor.rallyEditor.changeEnd(editor.selectedRallyId, editor.player.position()));
}

void splitHighlightedHere(EditorContext& editor) {
    changed(editor, editor.rallyEditor.splitAt(editor.selectedRallyId, editor.player.position()));
}

void joinHighlightedWithNext(EditorContext& editor) {
    changed(editor, editor.rallyEditor.joinWithNext(editor.selectedRallyId));
}

void deleteRallyWithMessage(EditorContext& editor, int64_t id) {
    const int index = editor.rallyEditor.indexOfId(id);
    if (index < 0) return;
    const std::string name = rallyDisplayName(editor.project.rallies[index], static_cast<size_t>(index));
    if (!editor.rallyEditor.deleteRally(id)) return;
    if (editor.selectedRallyId == id) editor.selectedRallyId = 0;
    changed(editor, true);
    editor.actions.showToast(name + " deleted  -  Ctrl+Z brings it back");
}

void addRallyAtPlayhead(EditorContext& editor) {
    const int64_t id = addRallyHere(editor.rallyEditor, editor.player.position());
    if (id == 0) {
        editor.actions.showToast("No room for a rally here: it overlaps another one");
        return;
    }
    editor.selectedRallyId = id;
    changed(editor, true);
}

void undoWithMessage(EditorContext& editor) {
    const std::string label = editor.rallyEditor.undoLabel();
    if (!editor.rallyEditor.undo()) return;
    highlightRestored(editor);
    changed(editor, true);
    editor.actions.showToast("Undone: " + label);
}

void redoWithMessage(EditorContext& editor) {
    const std::string label = editor.rallyEditor.redoLabel();
    if (!editor.rallyEditor.redo()) return;
    highlightRestored(editor);
    changed(editor, true);
    editor.actions.showToast("Redone: " + label);
}

}  // namespace rallinox::ui
