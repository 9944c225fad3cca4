#include "ui/projects/project_card.h"

#include <imgui.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

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
// "Open" or "Analyse" and "Delete" stand this far from the right edge.
constexpr float kButtonsFromRight = 240;

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
void addScore(FittedLine& line, const Project& project) {
    if (!anyRallyScored(project.rallies)) return;
    const std::vector<SetScore> sets = setScores(project.rallies);
    const SetsWon won = setsWon(sets, project.match);
    line.text(project.match.homeName, nullptr, scaled(18));
    line.text(std::to_string(won.home), nullptr, scaled(6));
    line.text("-", nullptr, scaled(4));
    line.text(std::to_string(won.away), nullptr, scaled(4));
    line.text(project.match.awayName, nullptr, scaled(6));
    if (!sets.empty() && !isSetWon(sets.back().set, sets.back().home, sets.back().away, project.match)) {
        char set[64];
        std::snprintf(set, sizeof set, "(set %d: %d-%d)", sets.back().set, sets.back().home, sets.back().away);
        line.text(set, &colors::kMutedText);
    }
}

// The line beside the buttons stops short of them; what does not fit is in its tooltip.
void drawOutcome(const Project& project) {
    if (project.state == ProjectState::Ready) {
        FittedLine line(ImGui::GetWindowPos().x + ImGui::GetWindowContentRegionMax().x - scaled(kButtonsFromRight) -
                        ImGui::GetStyle().ItemSpacing.x);
        line.text(cardRallyLine(project));
        addScore(line, project);
        if (project.stats.totalSec > 0) {
            char analysed[96];
            std::snprintf(analysed, sizeof analysed, "   analysed in %s, %.0f frames/s",
                          formatDuration(project.stats.totalSec).c_str(), project.stats.stage1Fps);
            line.text(analysed, &colors::kMutedText, 0);
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
    ImGui::SetCursorPosX(ImGui::GetWindowContentRegionMax().x - scaled(kButtonsFromRight));
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
    ImGui::SetWindowFontScale(1.15f);
    {
        FittedLine name;
        name.text(project.name);
    }
    ImGui::SetWindowFontScale(1.0f);
    {
        FittedLine meta;
        meta.text(cardMetaLine(project), &colors::kMutedText);
    }
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
