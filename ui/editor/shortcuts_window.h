// The popup "Keyboard shortcuts" listing every key of the editor.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

// Opens when app.editor.shortcutsRequested is set.
void drawShortcutsWindow(App& app);

}  // namespace rallinox::ui
