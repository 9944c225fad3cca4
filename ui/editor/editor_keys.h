// The editor's keyboard commands and moving to the next or previous rally.
#pragma once

namespace rallinox::ui {

struct EditorContext;

// Each frame, while no text field has the keyboard and no popup is open.
void handleEditorKeys(EditorContext& editor);
void goToNextRally(EditorContext& editor);
void goToPreviousRally(EditorContext& editor);

}  // namespace rallinox::ui
