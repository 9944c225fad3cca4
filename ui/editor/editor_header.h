// The editor's top: "< Projects", the project name (double-click renames),
// "Analyse again" with its question, "Export video...", and the figures row.
#pragma once

namespace rallinox {
class App;
}

namespace rallinox::ui {

// Returns false when the project was closed (nothing more to draw).
bool drawEditorHeader(App& app);
void drawAnalyseAgainDialog(App& app);
void drawFiguresRow(App& app);

}  // namespace rallinox::ui
