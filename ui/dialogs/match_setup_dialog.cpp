#include "ui/dialogs/match_setup_dialog.h"

#include <imgui.h>

#include <cfloat>
#include <cstring>
#include <string>

#include "app/core/project.h"
#include "ui/kit/app_actions.h"
#include "ui/kit/keys.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

constexpr const char* kTitle = "Match setup";

// The team names while the dialog is open.
struct TeamNames {
    char home[64] = {};
    char away[64] = {};
};

TeamNames& teamNames() {
    static TeamNames names;
    return names;
}

void copyName(char (&buffer)[64], const std::string& name) {
    std::strncpy(buffer, name.c_str(), sizeof buffer - 1);
    buffer[sizeof buffer - 1] = '\0';
}

std::string nameOrDefault(const char* buffer, const char* fallback) {
    return buffer[0] == '\0' ? fallback : buffer;
}

void teamField(const char* label, char (&buffer)[64], const ImVec4& color) {
    ImGui::PushStyleColor(ImGuiCol_Text, color);
    ImGui::InputText(label, buffer, sizeof buffer);
    ImGui::PopStyleColor();
}

void preset(MatchSetup& match, int bestOf, int setPoints) {
    match.bestOf = bestOf;
    match.setPoints = setPoints;
    match.decidingSetPoints = 15;
    match.winBy = 2;
}

void drawRules(MatchSetup& match) {
    sectionTitle("Rules");
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted("Best of");
    for (int sets : {1, 3, 5}) {
        ImGui::SameLine();
        if (ImGui::RadioButton(std::to_string(sets).c_str(), match.bestOf == sets)) match.bestOf = sets;
    }
    ImGui::SliderInt("Points per set", &match.setPoints, 5, 50, "%d");
    ImGui::SliderInt("Points in the deciding set", &match.decidingSetPoints, 5, 50, "%d");
    bool winByTwo = match.winBy == 2;
    if (ImGui::Checkbox("A set must be won by 2 points", &winByTwo)) match.winBy = winByTwo ? 2 : 1;
    if (ImGui::Button("Indoor (25 / 15)")) preset(match, 5, 25);
    ImGui::SameLine();
    if (ImGui::Button("Beach (21 / 15)")) preset(match, 3, 21);
}

}  // namespace

void openMatchSetup(const MatchSetup& match) {
    copyName(teamNames().home, match.homeName);
    copyName(teamNames().away, match.awayName);
    ImGui::OpenPopup(kTitle);
}

void drawMatchSetup(MatchSetup& match, AppActions& actions) {
    // The size constraint must not reach another window while the dialog is closed.
    if (!ImGui::IsPopupOpen(kTitle)) return;
    ImGui::SetNextWindowSizeConstraints(ImVec2(scaled(440), 0), ImVec2(scaled(440), FLT_MAX));
    if (!ImGui::BeginPopupModal(kTitle, nullptr, ImGuiWindowFlags_AlwaysAutoResize)) return;
    TeamNames& names = teamNames();
    // Leaves room for the longest label beside the fields.
    ImGui::PushItemWidth(scaled(220));
    sectionTitle("Teams");
    teamField("Home team", names.home, colors::kHomeText);
    teamField("Away team", names.away, colors::kAwayText);
    drawRules(match);
    ImGui::PopItemWidth();
    ImGui::Separator();
    if (accentButton("Done", ImVec2(scaled(120), 0)) || keyPressed(Key::Enter) || keyPressed(Key::KeypadEnter)) {
        match.homeName = nameOrDefault(names.home, "Home");
        match.awayName = nameOrDefault(names.away, "Away");
        actions.saveOpenProject();
        ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
}

}  // namespace rallinox::ui
