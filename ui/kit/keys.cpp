#include "ui/kit/keys.h"

#include <imgui.h>

namespace rallinox::ui {

bool keyPressed(Key key, bool repeat) { return keyPresses(key, repeat) > 0; }

bool ctrlDown() { return ImGui::GetIO().KeyCtrl; }

bool shiftDown() { return ImGui::GetIO().KeyShift; }

bool anyPopupOpen() { return ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId | ImGuiPopupFlags_AnyPopupLevel); }

bool shortcutsBlocked() { return anyPopupOpen() || ImGui::GetIO().WantTextInput; }

}  // namespace rallinox::ui
