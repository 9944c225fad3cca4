#include "ui/projects/project_card.h"

#include <imgui.h>

#include <algorithm>
#include <cstdint>

#include "ui/projects/projects_screen.h"
#include "ui/projects/thumbnail_cache.h"
#include "edit/match_score.h"
#include "ui/projects/analysis_progress.h"
#include "ui/projects/project_card_text.h"
#include "ui/kit/theme.h"
#include "app/core/time_format.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

constexpr float kPictureHeight = 84;

void drawPicture(ProjectsContext& screen, const Project& project) {
    const float height = scaled(kPictureHeight);
    if (const Thumbnail* picture = screen.thumbnails.textureFor(project)) {
        const float width = height * picture->width / picture->height;
        ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<intptr_t>(picture->texture)), ImVec2(width, height));
    } else {
        const ImVec2 size{height * 16 / 9, height};
        ImGui::Dummy(size);
        ImGui::GetWindowDrawList()->AddRectFilled(ImGui::GetItemRectMin(), ImGui::GetItemRectMax(),
                                                  colors::kTrackGround, scaled(4));
    }
    if (project.state == ProjectState::Ready && ImGui::IsItemHovered()) {
        ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
        ImGui::SetTooltip("Open");
        if (ImGui::IsItemClicked()) screen.actions.openProjectById(project.id);
    }
}

// "Lions 2 - 1 Eagles (set 4: 12-9)" once the user has scored rallies.
void drawScore(const Project& project) {
    if (!anyRallyScored(project.rallies)) return;
    const std::vector<SetScore> sets = setScores(project.rallies);
    const SetsWon won = setsWon(sets, project.match);
    ImGui::SameLine(0, scaled(18));
    ImGui::TextUnformatted(project.match.homeName.c_str());
    ImGui::SameLine(0, scaled(6));
    ImGui::Text("%d", won.home);
    ImGui::SameLine(0, scaled(4));
    ImGui::TextUnformatted("-");
    ImGui::SameLine(0, scaled(4));
    ImGui::Text("%d", won.away);
    ImGui::SameLine(0, scaled(6));
    ImGui::TextUnformatted(project.match.awayName.c_str());
    if (!sets.empty() && !isSetWon(sets.back().set, sets.back().home, sets.back().away, project.match)) {
        ImGui::SameLine();
        mutedText("(set %d: %d-%d)", sets.back().set, sets.back().home, sets.back().away);
    }
}

void drawOutcome(const Project& project) {
    if (project.state == ProjectState::Ready) {
        ImGui::TextUnformatted(cardRallyLine(project).c_str());
        drawScore(project);
        if (project.stats.totalSec > 0) {
            ImGui::SameLine(0, 0);
            mutedText("   analysed in %s, %.0f frames/s", formatDuration(project.stats.totalSec).c_str(),
                      project.stats.stage1Fps);
        }
    } else if (project.state == ProjectState::Failed) {
        ImGui::TextColored(colors::kDanger, "Analysis failed");
    } else {
        mutedText("Not analysed yet");
    }
}

void drawButtons(ProjectsContext& screen, const Project& project, std::string& pendingDelete) {
    // Inside the group SameLine's offset would count from the group's left edge.
    ImGui::SameLine(0, 0);
    ImGui::SetCursorPosX(ImGui::GetWindowContentRegionMax().x - scaled(240));
    if (project.state == ProjectState::Ready) {
        if (accentButton("Open", ImVec2(scaled(110), 0))) screen.actions.openProjectById(project.id);
    } else if (ImGui::Button("Analyse", ImVec2(scaled(110), 0))) {
        Project analysed = project;
        screen.actions.startAnalysis(analysed);
        screen.actions.reloadProjects();
    }
    ImGui::SameLine();
    if (ImGui::Button("Delete", ImVec2(scaled(110), 0))) pendingDelete = project.id;
}

void drawMenu(ProjectsContext& screen, const Project& project, std::string& pendingDelete) {
    if (!ImGui::BeginPopupContextWindow("cardmenu")) return;
    if (project.state == ProjectState::Ready && ImGui::MenuItem("Open")) screen.actions.openProjectById(project.id);
    if (ImGui::MenuItem("Show the video in its folder")) screen.actions.showInFolder(project.videoPath);
    ImGui::Separator();
    if (ImGui::MenuItem("Delete project...")) pendingDelete = project.id;
    ImGui::EndPopup();
}

// Child regions cannot fit their height to the content in this GUI
// library version, so the card's lines are counted.
float cardHeight(bool analysing) {
    const ImGuiStyle& style = ImGui::GetStyle();
    const float line = ImGui::GetTextLineHeightWithSpacing();
    float content = ImGui::GetFontSize() * 1.15f + style.ItemSpacing.y + line;
    content += analysing ? ImGui::GetFrameHeightWithSpacing() + 2 * line : ImGui::GetFrameHeight();
    return std::max(scaled(kPictureHeight), content) + 2 * style.WindowPadding.y;
}

}  // namespace

void drawProjectCard(ProjectsContext& screen, const Project& project, std::string& pendingDelete) {
    const std::optional<AnalysisView>& running = screen.analysis;
    const AnalysisView* analysis = running && running->projectId == project.id ? &*running : nullptr;
    ImGui::PushID(project.id.c_str());
    ImGui::BeginChild("card", ImVec2(0, cardHeight(analysis != nullptr)), true,
                      ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoScrollWithMouse);
    drawPicture(screen, project);
    ImGui::SameLine();
    ImGui::BeginGroup();
    largeText(project.name.c_str(), 1.15f);
    mutedText("%s", cardMetaLine(project).c_str());
    if (analysis) {
        drawAnalysisProgress(*analysis, screen.actions);
    } else {
        drawOutcome(project);
        drawButtons(screen, project, pendingDelete);
    }
    ImGui::EndGroup();
    drawMenu(screen, project, pendingDelete);
    ImGui::EndChild();
    ImGui::PopID();
}

}  // namespace rallinox::ui
