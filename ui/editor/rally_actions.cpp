#include "ui/editor/rally_actions.h"

#include <string>

#include "app/shell/app.h"
#include "edit/rally_editor.h"

namespace rallinox::ui {

namespace {

void changed(App& app, bool didChange) {
    if (didChange) app.editor.saveAtFrameEnd = true;
}

}  // namespace

int highlightedIndex(const App& app) {
    if (!app.rallyEditor || app.selectedRallyId == 0) return -1;
    return app.rallyEditor->indexOfId(app.selectedRallyId);
}

void goToRally(App& app, int64_t id) {
    const int index = app.rallyEditor->indexOfId(id);
    if (index < 0) return;
    app.selectedRallyId = id;
    app.player.seek(app.openProject->rallies[index].startSec);
}

void startHighlightedHere(App& app) {
    changed(app, app.rallyEditor->changeStart(app.selectedRallyId, app.player.position()));
}

void endHighlightedHere(App& app) {
    changed(app, app.rallyEditor->changeEnd(app.selectedRallyId, app.player.position()));
}

void splitHighlightedHere(App& app) {
    changed(app, app.rallyEditor->splitAt(app.selectedRallyId, app.player.position()));
}

void joinHighlightedWithNext(App& app) { changed(app, app.rallyEditor->joinWithNext(app.selectedRallyId)); }

void deleteRallyWithMessage(App& app, int64_t id) {
    const int index = app.rallyEditor->indexOfId(id);
    if (index < 0) return;
    const std::string name = rallyDisplayName(app.openProject->rallies[index], static_cast<size_t>(index));
    if (!app.rallyEditor->deleteRally(id)) return;
    if (app.selectedRallyId == id) app.selectedRallyId = 0;
    changed(app, true);
    app.showToast(name + " deleted  -  Ctrl+Z brings it back");
}

void addRallyAtPlayhead(App& app) {
    const int64_t id = addRallyHere(*app.rallyEditor, app.player.position());
    if (id == 0) {
        app.showToast("No room for a rally here: it overlaps another one");
        return;
    }
    app.selectedRallyId = id;
    changed(app, true);
}

void undoWithMessage(App& app) {
    const std::string label = app.rallyEditor->undoLabel();
    if (!app.rallyEditor->undo()) return;
    changed(app, true);
    app.showToast("Undone: " + label);
}

}  // namespace rallinox::ui
