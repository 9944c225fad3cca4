// The editor's top: "< Projects", the project name (double-click renames),
// "Analyse again" with its question, "Export video...", and the figures row.
#pragma once

namespace rallinox::ui {

struct EditorContext;

// Returns false when the project was closed (nothing more to draw).
bool drawEditorHeader(EditorContext& editor);
// True when the project was closed to be analysed again.
bool drawAnalyseAgainDialog(EditorContext& editor);
void drawFiguresRow(EditorContext& editor);

}  // namespace rallinox::ui
