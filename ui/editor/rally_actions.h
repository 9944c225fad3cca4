// Edits of the highlighted rally that the edit bar, the keys and the rally
// list share, with the messages they show. A change saves the open project
// at the end of the frame.
#pragma once

#include <cstdint>

namespace rallinox::ui {

struct EditorContext;

// List position of the highlighted rally, or -1 when none is highlighted.
int highlightedIndex(const EditorContext& editor);
// Highlights the rally and moves the player to its start; playback goes on
// if it was running.
void goToRally(EditorContext& editor, int64_t id);

void startHighlightedHere(EditorContext& editor);
void endHighlightedHere(EditorContext& editor);
void splitHighlightedHere(EditorContext& editor);
void joinHighlightedWithNext(EditorContext& editor);
// "<name> deleted  -  Ctrl+Z brings it back".
void deleteRallyWithMessage(EditorContext& editor, int64_t id);
// An 8 s rally from the current frame becomes the highlighted rally.
void addRallyAtPlayhead(EditorContext& editor);
// "Undone: <what>" / "Redone: <what>"; the rally brought back or changed
// becomes the highlighted one, so that the edit bar acts on it at once.
void undoWithMessage(EditorContext& editor);
void redoWithMessage(EditorContext& editor);

}  // namespace rallinox::ui
