// The popup "Keyboard shortcuts" listing every key of the editor.
#pragma once

namespace rallinox::ui {

struct EditorContext;

// Opens when editor.state.shortcutsRequested is set.
void drawShortcutsWindow(EditorContext& editor);

}  // namespace rallinox::ui
