#include "ui/dialogs/quit_dialog.h"

#include <imgui.h>

#include "ui/kit/keys.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {
constexpr const char* kTitle = "Quit Rallinox?";
}

QuitAnswer drawQuitDialog() {
    if (!ImGui::IsPopupOpen(kTitle)) ImGui::OpenPopup(kTitle);
    ImGui::SetNextWindowSize(ImVec2(scaled(460), 0));
    centreNextDialog();
    if (!ImGui::BeginPopupModal(kTitle, nullptr, ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings)) {
        return QuitAnswer::Pending;
    }
    ImGui::TextWrapped("An analysis or export is still running. Stop it and quit?");
    ImGui::Separator();
    QuitAnswer answer = QuitAnswer::Pending;
    if (dangerButton("Stop and quit", ImVec2(scaled(150), 0))) answer = QuitAnswer::Quit;
    ImGui::SameLine();
    if (ImGui::Button("Keep running", ImVec2(scaled(150), 0)) || keyPressed(Key::Escape)) answer = QuitAnswer::Stay;
    if (answer != QuitAnswer::Pending) ImGui::CloseCurrentPopup();
    ImGui::EndPopup();
    return answer;
}

}  // namespace rallinox::ui
