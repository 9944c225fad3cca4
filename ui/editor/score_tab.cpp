#include "ui/editor/score_tab.h"

#include <imgui.h>

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/editor/editor_context.h"
#include "ui/editor/deciding_clip.h"
#include "ui/dialogs/match_setup_dialog.h"
#include "ui/editor/editor_texts.h"
#include "ui/editor/rally_actions.h"
#include "ui/kit/theme.h"
#include "app/core/time_format.h"
#include "ui/kit/widgets.h"
#include "video/preview_player.h"

namespace rallinox::ui {

namespace {

constexpr const char* kTipText =
    "Tip: name the teams in \"Match setup...\" (Score tab): the names go on the exported scoreboard";

ImU32 withAlpha(ImVec4 color, float alpha) {
    color.w = alpha;
    return ImGui::ColorConvertFloat4ToU32(color);
}

const ImVec4& teamColor(Winner team) { return team == Winner::Home ? colors::kHome : colors::kAway; }

const std::string& teamName(const MatchSetup& match, Winner team) {
    return team == Winner::Home ? match.homeName : match.awayName;
}

// The set and points the tab shows: after the highlighted rally, else the last set's end.
SetScore displayedScore(const EditorContext& editor, const std::vector<RallyScore>& scores,
                        const std::vector<SetScore>& sets) {
    const int index = highlightedIndex(editor);
    if (index >= 0) {
        const RallyScore& score = scores[static_cast<size_t>(index)];
        return {score.setAfter, score.homeAfter, score.awayAfter};
    }
    return sets.empty() ? SetScore{} : sets.back();
}

void drawTeamCard(const char* name, int points, int sets, const ImVec4& color, bool wonHighlighted, float width) {
    const float height = scaled(96);
    const ImVec2 min = ImGui::GetCursorScreenPos();
    const ImVec2 max(min.x + width, min.y + height);
    const float rounding = scaled(8);
    ImDrawList* draw = ImGui::GetWindowDrawList();
    draw->AddRectFilled(min, max, withAlpha(color, 0.16f), rounding);
    draw->AddRectFilled(min, {min.x + scaled(5), max.y}, withAlpha(color, 1.0f), rounding, ImDrawFlags_RoundCornersLeft);
    const std::string setsText = "Sets " + std::to_string(sets);
    const float setsWidth = ImGui::CalcTextSize(setsText.c_str()).x;
    // A long team name stops short of "Sets".
    const float nameRoom = width - scaled(16) - scaled(12) - setsWidth - ImGui::GetStyle().ItemSpacing.x;
    const std::string shownName = shortenedToFit(name, nameRoom);
    draw->AddText({min.x + scaled(16), min.y + scaled(10)}, withAlpha(colors::kCardName, 1.0f), shownName.c_str());

    const float pointsSize = ImGui::GetFontSize() * 2.4f;
    const std::string pointsText = std::to_string(points);
    draw->AddText(ImGui::GetFont(), pointsSize, {min.x + scaled(16), max.y - scaled(6) - pointsSize},
                  withAlpha(color, 1.0f), pointsText.c_str());

    draw->AddText({max.x - scaled(12) - setsWidth, min.y + scaled(10)}, withAlpha(colors::kMutedText, 1.0f),
                  setsText.c_str());
    if (wonHighlighted) draw->AddCircleFilled({max.x - scaled(16), max.y - scaled(18)}, scaled(5), withAlpha(color, 1.0f));
    ImGui::Dummy(ImVec2(width, height));
    if (shownName != name) hoverTip(name);
}

void drawCards(const EditorContext& editor, const SetScore& shown, const std::vector<SetScore>& sets) {
    const MatchSetup& match = editor.project.match;
    const SetsWon led = setsLedBefore(sets, shown.set);
    const int index = highlightedIndex(editor);
    const Winner highlightedWinner =
        index >= 0 ? editor.project.rallies[static_cast<size_t>(index)].winner : Winner::None;
    const float width = (ImGui::GetContentRegionAvail().x - ImGui::GetStyle().ItemSpacing.x) * 0.5f;
    drawTeamCard(match.homeName.c_str(), shown.home, led.home, colors::kHome, highlightedWinner == Winner::Home,
                 width);
    ImGui::SameLine();
    drawTeamCard(match.awayName.c_str(), shown.away, led.away, colors::kAway, highlightedWinner == Winner::Away,
                 width);
}

void drawSetChips(const std::vector<SetScore>& sets) {
    for (size_t i = 0; i < sets.size(); ++i) {
        const SetScore& set = sets[i];
        char chip[32];
        std::snprintf(chip, sizeof chip, "S%d  %d-%d", set.set, set.home, set.away);
        // The chips go on as many lines as they need.
        if (i > 0) {
            ImGui::SameLine(0, scaled(14));
            if (ImGui::GetContentRegionAvail().x < ImGui::CalcTextSize(chip).x) ImGui::NewLine();
        }
        const ImVec4 color = set.home > set.away   ? colors::kHomeText
                             : set.away > set.home ? colors::kAwayText
                                                   : ImGui::GetStyle().Colors[ImGuiCol_TextDisabled];
        ImGui::TextColored(color, "%s", chip);
    }
}

void drawProgress(EditorContext& editor) {
    const std::vector<Rally>& rallies = editor.project.rallies;
    const auto scored = std::count_if(rallies.begin(), rallies.end(),
                                      [](const Rally& rally) { return rally.winner != Winner::None; });
    const bool allScored = static_cast<size_t>(scored) == rallies.size();
    const std::string label = scoredProgressText(rallies);
    const float fraction = rallies.empty() ? 0.0f : static_cast<float>(scored) / static_cast<float>(rallies.size());
    ImGui::ProgressBar(fraction, ImVec2(allScored ? -FLT_MIN : -scaled(150), scaled(18)), label.c_str());
    if (allScored) return;
    ImGui::SameLine();
    if (ImGui::Button("Next unscored [U]")) goToNextUnscored(editor);
    hoverTip("Play the clip of the next rally without a score. Unscored rallies have an amber mark in the list and "
             "on the timeline.");
}

void drawMatchWinner(const EditorContext& editor, const std::vector<SetScore>& sets) {
    const MatchSetup& match = editor.project.match;
    const Winner winner = matchWinner(editor.project.rallies, match);
    if (winner == Winner::None) return;
    const SetsWon won = setsWon(sets, match);
    ImGui::TextColored(winner == Winner::Home ? colors::kHomeText : colors::kAwayText,
                       "%s won the match %d-%d", teamName(match, winner).c_str(), std::max(won.home, won.away),
                       std::min(won.home, won.away));
}

void drawClipPanel(EditorContext& editor) {
    FlowRow choice;
    choice.place(ImGui::CalcTextSize("Watch").x);
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted("Watch");
    bool changed = false;
    choice.place(checkboxWidth("End of rally"));
    if (ImGui::RadioButton("End of rally", !editor.settings.decideByNextServe)) {
        changed = editor.settings.decideByNextServe;
        editor.settings.decideByNextServe = false;
    }
    hoverTip("The end of the rally: see the point itself");
    choice.place(checkboxWidth("Next serve"));
    if (ImGui::RadioButton("Next serve", editor.settings.decideByNextServe)) {
        changed = !editor.settings.decideByNextServe;
        editor.settings.decideByNextServe = true;
    }
    hoverTip("The start of the next rally: the team that won the point serves, and it is quick to see");
    if (changed) {
        editor.actions.saveSettings();
        playDecidingClip(editor, false);
    }
    FlowRow buttons;
    if (buttons.button("Play it again [R]")) playDecidingClip(editor, false);
    if (buttons.button("Show more [M]")) playDecidingClip(editor, true);
    if (buttons.button("Whole rally")) playWholeRally(editor);

    const int index = highlightedIndex(editor);
    if (index < 0) return;
    const Rally& rally = editor.project.rallies[static_cast<size_t>(index)];
    const std::string text = highlightedClipText(editor) + "  -  rally length " + formatClock(rallyLengthSec(rally));
    mutedTextWrapped("%s", text.c_str());
}

bool teamButton(EditorContext& editor, Side side, Winner highlightedWinner, float width) {
    const MatchSetup& match = editor.project.match;
    const Winner team = winnerForSide(side, match.homeOnLeft);
    const ImVec4& color = teamColor(team);
    // A long team name is shortened to the button; the key stays whole.
    const std::string name = shortenedToFit(teamName(match, team), width - 2 * ImGui::GetStyle().FramePadding.x);
    const std::string label = name + (side == Side::Left ? "\n[1]##teamLeft" : "\n[2]##teamRight");
    ImGui::PushStyleColor(ImGuiCol_Button, withAlpha(color, highlightedWinner == team ? 1.0f : 0.35f));
    ImGui::PushStyleColor(ImGuiCol_ButtonHovered, withAlpha(color, 0.75f));
    ImGui::PushStyleColor(ImGuiCol_ButtonActive, withAlpha(color, 1.0f));
    const bool pressed = ImGui::Button(label.c_str(), ImVec2(width, scaled(56)));
    ImGui::PopStyleColor(3);
    if (name != teamName(match, team)) hoverTip(teamName(match, team).c_str());
    return pressed;
}

void drawScoringControls(EditorContext& editor) {
    const int index = highlightedIndex(editor);
    const Winner highlightedWinner =
        index >= 0 ? editor.project.rallies[static_cast<size_t>(index)].winner : Winner::None;
    const float width = (ImGui::GetContentRegionAvail().x - ImGui::GetStyle().ItemSpacing.x) * 0.5f;
    if (teamButton(editor, Side::Left, highlightedWinner, width)) scoreHighlightedRally(editor, Side::Left);
    ImGui::SameLine();
    if (teamButton(editor, Side::Right, highlightedWinner, width)) scoreHighlightedRally(editor, Side::Right);

    FlowRow row;
    if (row.button("Clear [0]")) clearHighlightedWinner(editor);
    if (row.button("Swap sides")) {
        editor.project.match.homeOnLeft = !editor.project.match.homeOnLeft;
        editor.actions.saveOpenProject();
    }
    hoverTip("The teams changed ends: swap the buttons (and keys 1 / 2) to match the video");
    row.place(checkboxWidth("New set starts here [S]"));
    ImGui::BeginDisabled(index <= 0);
    bool startsSet = index >= 0 && editor.project.rallies[static_cast<size_t>(index)].setStart;
    if (ImGui::Checkbox("New set starts here [S]", &startsSet)) toggleSetStart(editor);
    ImGui::EndDisabled();
}

void drawIssues(EditorContext& editor) {
    const std::vector<ScoreIssue> issues = scoreIssues(editor.project.rallies, editor.project.match);
    if (issues.empty()) return;
    sectionTitle("Check the score");
    for (size_t i = 0; i < issues.size(); ++i) {
        ImGui::PushID(static_cast<int>(i));
        if (ImGui::Button("Go")) {
            const Rally& rally = editor.project.rallies[issues[i].rallyIndex];
            editor.selectedRallyId = rally.id;
            editor.player.seek(rally.startSec);
        }
        ImGui::SameLine();
        ImGui::PushStyleColor(ImGuiCol_Text, colors::kAwayText);
        ImGui::TextWrapped("%s", issueText(issues[i]).c_str());
        ImGui::PopStyleColor();
        ImGui::PopID();
    }
}

}  // namespace

void scoreHighlightedRally(EditorContext& editor, Side side) {
    const int index = highlightedIndex(editor);
    if (index < 0) return;
    editor.state.scoreTab.bringToFront = true;
    Project& project = editor.project;
    const bool firstScore = !anyRallyScored(project.rallies);
    if (editor.rallyEditor.setWinner(editor.selectedRallyId, winnerForSide(side, project.match.homeOnLeft))) {
        editor.actions.saveOpenProject();
        if (firstScore && project.match.homeName == "Home" && project.match.awayName == "Away") {
            editor.actions.showToast(kTipText);
        }
    }
    if (editor.state.scoreTab.advanceAfterScoring && static_cast<size_t>(index) + 1 < project.rallies.size()) {
        playClipOfRally(editor, index + 1);
    }
}

void clearHighlightedWinner(EditorContext& editor) {
    if (highlightedIndex(editor) < 0) return;
    editor.state.scoreTab.bringToFront = true;
    if (editor.rallyEditor.setWinner(editor.selectedRallyId, Winner::None)) editor.actions.saveOpenProject();
}

void toggleSetStart(EditorContext& editor) {
    const int index = highlightedIndex(editor);
    if (index <= 0) return;
    editor.state.scoreTab.bringToFront = true;
    const bool startsSet = editor.project.rallies[static_cast<size_t>(index)].setStart;
    if (editor.rallyEditor.setSetStart(editor.selectedRallyId, !startsSet)) editor.actions.saveOpenProject();
}

void goToNextUnscored(EditorContext& editor) {
    editor.state.scoreTab.bringToFront = true;
    const int next = nextUnscored(editor.project.rallies, highlightedIndex(editor));
    if (next < 0) {
        editor.actions.showToast("Every rally has a score");
        return;
    }
    playClipOfRally(editor, next);
}

void drawScoreTab(EditorContext& editor) {
    const Project& project = editor.project;
    const MatchSetup& match = project.match;
    const std::vector<RallyScore> scores = rallyScores(project.rallies);
    const std::vector<SetScore> sets = setScores(project.rallies);
    const SetScore shown = displayedScore(editor, scores, sets);

    if (ImGui::Button("Match setup...")) openMatchSetup(editor.project.match);
    char rules[64];
    std::snprintf(rules, sizeof rules, "Best of %d  -  %d / %d points", match.bestOf, match.setPoints,
                  match.decidingSetPoints);
    sameLineOrWrap(ImGui::CalcTextSize(rules).x);
    ImGui::AlignTextToFramePadding();
    mutedText("%s", rules);
    ImGui::Text("Set %d", shown.set);
    drawCards(editor, shown, sets);
    drawSetChips(sets);
    drawProgress(editor);
    drawMatchWinner(editor, sets);

    const int index = highlightedIndex(editor);
    sectionTitle(index < 0 ? "Pick a rally to score it"
                           : ("Who won " + rallyDisplayName(project.rallies[static_cast<size_t>(index)],
                                                            static_cast<size_t>(index)) + "?")
                                 .c_str());
    ImGui::BeginDisabled(index < 0);
    drawClipPanel(editor);
    drawScoringControls(editor);
    ImGui::EndDisabled();
    ScoreTabState& state = editor.state.scoreTab;
    checkboxWrapped("After scoring, go to the next rally and play its clip", state.advanceAfterScoring);
    drawIssues(editor);
    drawMatchSetup(editor.project.match, editor.actions);
}

}  // namespace rallinox::ui
