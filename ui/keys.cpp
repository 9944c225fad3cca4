#include "ui/keys.h"

#include <SDL_scancode.h>
#include <imgui.h>

namespace rallinox::ui {

namespace {

// The SDL back end of the GUI fills the key table by SDL scancode.
int scancodeOf(Key key) {
    switch (key) {
        case Key::Escape: return SDL_SCANCODE_ESCAPE;
        case Key::Enter: return SDL_SCANCODE_RETURN;
        case Key::KeypadEnter: return SDL_SCANCODE_KP_ENTER;
        case Key::O: return SDL_SCANCODE_O;
        case Key::E: return SDL_SCANCODE_E;
        case Key::Comma: return SDL_SCANCODE_COMMA;
    }
    return SDL_SCANCODE_UNKNOWN;
}

}  // namespace

bool keyPressed(Key key, bool repeat) { return ImGui::IsKeyPressed(scancodeOf(key), repeat); }

bool ctrlDown() { return ImGui::GetIO().KeyCtrl; }

bool shortcutsBlocked() {
    return ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId | ImGuiPopupFlags_AnyPopupLevel) ||
           ImGui::GetIO().WantTextInput;
}

}  // namespace rallinox::ui
