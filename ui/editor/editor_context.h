// What the editor's panels work on: the open project, its RallyEditor, the
// player, the highlighted rally, the settings, the editor's own state and the
// application's actions. Made by the App for one frame; hold none of it longer.
#pragma once

#include <cstdint>

#include "ui/editor/editor_state.h"
#include "ui/kit/app_actions.h"

namespace rallinox {
struct Project;
struct Settings;
class RallyEditor;
class PreviewPlayer;
}  // namespace rallinox

namespace rallinox::ui {

class PlayerTexture;

struct EditorContext {
    Project& project;
    // Every change to the project's rallies goes through it.
    RallyEditor& rallyEditor;
    PreviewPlayer& player;
    const PlayerTexture& picture;
    // 0 when no rally is highlighted.
    int64_t& selectedRallyId;
    Settings& settings;
    EditorState& state;
    AppActions& actions;
    bool analysing = false;
    bool exporting = false;
    bool fileDialogOpen = false;
};

}  // namespace rallinox::ui
