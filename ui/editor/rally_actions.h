// Edits of the highlighted rally that the edit bar, the keys and the rally
// list share, with the messages they show. A change saves the open project
// at the end of the frame.
#pragma once

#include <cstdint>

namespace rallinox {
class App;
}

namespace rallinox::ui {

// List position of the highlighted rally, or -1 when none is highlighted.
int highlightedIndex(const App& app);
// Highlights the rally and moves the player to its start; playback goes on
// if it was running.
void goToRally(App& app, int64_t id);

void startHighlightedHere(App& app);
void endHighlightedHere(App& app);
void splitHighlightedHere(App& app);
void joinHighlightedWithNext(App& app);
// "<name> deleted  -  Ctrl+Z brings it back".
void deleteRallyWithMessage(App& app, int64_t id);
// An 8 s rally from the current frame becomes the highlighted rally.
void addRallyAtPlayhead(App& app);
// "Undone: <what>".
void undoWithMessage(App& app);

}  // namespace rallinox::ui
