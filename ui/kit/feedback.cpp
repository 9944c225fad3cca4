#include "ui/kit/feedback.h"

#include <imgui.h>

#include "ui/kit/keys.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {
constexpr const char* kErrorTitle = "Something went wrong";
}

void drawErrorDialog(std::string& errorText) {
    if (!errorText.empty() && !ImGui::IsPopupOpen(kErrorTitle)) ImGui::OpenPopup(kErrorTitle);
    ImGui::SetNextWindowSize(ImVec2(scaled(460), 0));
    centreNextDialog();
    if (!ImGui::BeginPopupModal(kErrorTitle, nullptr, ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings)) {
        return;
    }
    ImGui::TextWrapped("%s", errorText.c_str());
    ImGui::Separator();
    if (ImGui::Button("OK", ImVec2(scaled(120), 0)) || keyPressed(Key::Enter) || keyPressed(Key::KeypadEnter)) {
        errorText.clear();
        ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
}

void drawToast(const std::string& text, double until) {
    if (text.empty() || ImGui::GetTime() > until) return;
    const ImGuiViewport* viewport = ImGui::GetMainViewport();
    ImGui::SetNextWindowPos(ImVec2(viewport->Pos.x + viewport->Size.x * 0.5f, viewport->Pos.y + scaled(16)),
                            ImGuiCond_Always, ImVec2(0.5f, 0.0f));
    ImGui::SetNextWindowBgAlpha(0.92f);
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_AlwaysAutoResize |
                                   ImGuiWindowFlags_NoInputs | ImGuiWindowFlags_NoFocusOnAppearing |
                                   ImGuiWindowFlags_NoNav | ImGuiWindowFlags_NoSavedSettings |
                                   ImGuiWindowFlags_NoMove;
    if (ImGui::Begin("##toast", nullptr, flags)) ImGui::TextUnformatted(text.c_str());
    ImGui::End();
}

}  // namespace rallinox::ui
