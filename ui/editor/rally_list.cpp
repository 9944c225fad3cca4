#include "ui/editor/rally_list.h"

#include <imgui.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/editor/editor_context.h"
#include "edit/match_score.h"
#include "edit/rally_editor.h"
#include "edit/rally_queries.h"
#include "ui/dialogs/export_dialog.h"
#include "ui/kit/keys.h"
#include "ui/editor/editor_texts.h"
#include "ui/editor/rally_actions.h"
#include "ui/kit/theme.h"
#include "app/core/time_format.h"
#include "ui/kit/widgets.h"
#include "video/preview_player.h"

namespace rallinox::ui {

namespace {

enum Column { kTickColumn, kRallyColumn, kStartColumn, kLengthColumn, kBreakColumn, kScoreColumn };

const ImVec4 kWarning = colors::kAwayText;

// What every row needs, computed once per frame.
struct ListFacts {
    RallyBreaks breaks;
    std::vector<RallyScore> scores;
    bool scoreShown = false;
};

void startRename(EditorContext& editor, int64_t id) {
    RallyListState& list = editor.state.rallyList;
    const int index = editor.rallyEditor.indexOfId(id);
    if (index < 0) return;
    const std::string name = rallyDisplayName(editor.project.rallies[index], static_cast<size_t>(index));
    std::snprintf(list.renameText, sizeof list.renameText, "%s", name.c_str());
    list.renameTarget = id;
    list.renameNeedsFocus = true;
}

void finishRename(EditorContext& editor) {
    RallyListState& list = editor.state.rallyList;
    const int64_t id = list.renameTarget;
    list.renameTarget = 0;
    const int index = editor.rallyEditor.indexOfId(id);
    if (index < 0) return;
    const std::string name = nameFromRenameText(list.renameText, static_cast<size_t>(index));
    if (editor.rallyEditor.renameRally(id, name)) editor.state.saveAtFrameEnd = true;
}

void drawRenameField(EditorContext& editor) {
    RallyListState& list = editor.state.rallyList;
    if (list.renameNeedsFocus) {
        ImGui::SetKeyboardFocusHere();
        list.renameNeedsFocus = false;
    }
    ImGui::SetNextItemWidth(-1);
    const bool entered =
        ImGui::InputText("##rename", list.renameText, sizeof list.renameText,
                         ImGuiInputTextFlags_AutoSelectAll | ImGuiInputTextFlags_EnterReturnsTrue);
    if (keyPressed(Key::Escape)) {
        list.renameTarget = 0;
    } else if (entered || ImGui::IsItemDeactivated()) {
        finishRename(editor);
    }
}

void drawRowMenu(EditorContext& editor, int64_t id) {
    if (ImGui::IsItemClicked(ImGuiMouseButton_Right)) editor.selectedRallyId = id;
    if (!ImGui::BeginPopupContextItem("rowmenu")) return;
    if (ImGui::MenuItem("Play from the start")) {
        goToRally(editor, id);
        editor.player.play();
    }
    if (ImGui::MenuItem("Rename", "F2")) startRename(editor, id);
    if (ImGui::MenuItem("Export only this rally...")) openExportDialog(editor.selectedRallyId, id);
    ImGui::Separator();
    if (ImGui::MenuItem("Delete", "Del")) deleteRallyWithMessage(editor, id);
    ImGui::EndPopup();
}

// The name as a selectable spanning the row. The name is drawn over an
// unlabelled selectable so that no name can be taken for an ID suffix.
void drawNameCell(EditorContext& editor, const Rally& rally, size_t position) {
    RallyListState& list = editor.state.rallyList;
    const bool highlighted = rally.id == editor.selectedRallyId;
    if (highlighted && rally.id != list.lastScrolledToId) {
        ImGui::SetScrollHereY(0.5f);
        list.lastScrolledToId = rally.id;
    }
    const ImVec2 textAt = ImGui::GetCursorScreenPos();
    if (ImGui::Selectable("##row", highlighted,
                          ImGuiSelectableFlags_SpanAllColumns | ImGuiSelectableFlags_AllowDoubleClick)) {
        goToRally(editor, rally.id);
        list.lastScrolledToId = rally.id;  // it is in view: it was clicked
        if (ImGui::IsMouseDoubleClicked(ImGuiMouseButton_Left)) editor.player.play();
    }
    // The selectable lies under the whole row; the other cells have tips of their own.
    if (ImGui::TableGetColumnFlags(kRallyColumn) & ImGuiTableColumnFlags_IsHovered) {
        hoverTip("Click: go to it   Double-click: play   Right-click: more");
    }
    drawRowMenu(editor, rally.id);
    ImGui::SetCursorScreenPos(textAt);
    FittedLine name;
    name.text(rallyRowName(rally, position));
}

void drawBreakCell(const ListFacts& facts, size_t position) {
    const bool isLong = facts.breaks.isLong(position);
    const std::string text = formatDuration(facts.breaks.beforeSec[position]);
    ImGui::TextColored(isLong ? kWarning : ImGui::GetStyle().Colors[ImGuiCol_TextDisabled], "%s", text.c_str());
    if (position == 0) {
        hoverTip("Time before the first rally");
    } else if (isLong) {
        hoverTip("Long break before this rally: a rally may be missing here");
    } else {
        hoverTip("Break before this rally");
    }
}

void drawScoreCell(const Rally& rally, const RallyScore& score, size_t position) {
    if (rally.winner == Winner::None) {
        const ImVec2 at = ImGui::GetCursorScreenPos();
        ImGui::TextDisabled("    ?");
        const float radius = scaled(4);
        ImGui::GetWindowDrawList()->AddCircleFilled(
            ImVec2(at.x + radius + scaled(2), at.y + ImGui::GetTextLineHeight() * 0.5f), radius,
            ImGui::GetColorU32(kWarning));
        hoverTip("Not scored yet (Score tab, keys 1 / 2; U goes to the next one)");
        return;
    }
    // The first rally always starts set 1; a mark on it means nothing.
    const bool startsSet = position > 0 && rally.setStart;
    const ImVec4& winnerColor = rally.winner == Winner::Home ? colors::kHomeText : colors::kAwayText;
    ImGui::TextColored(winnerColor, "%s%d-%d", startsSet ? "| " : "", score.homeAfter, score.awayAfter);
    char tip[48];
    std::snprintf(tip, sizeof tip, "Set %d%s", score.setAfter, startsSet ? " starts here" : "");
    hoverTip(tip);
}

// False when the row changed the number of rallies: the rest of the table
// waits for the next frame.
bool drawRow(EditorContext& editor, const ListFacts& facts, size_t position) {
    const std::vector<Rally>& rallies = editor.project.rallies;
    const size_t count = rallies.size();
    const Rally& rally = rallies[position];
    ImGui::TableNextRow();
    ImGui::PushID(std::to_string(rally.id).c_str());

    ImGui::TableSetColumnIndex(kTickColumn);
    bool ticked = rally.selected;
    if (ImGui::Checkbox("##sel", &ticked) && editor.rallyEditor.setSelected(rally.id, ticked)) {
        editor.state.saveAtFrameEnd = true;
    }

    ImGui::TableSetColumnIndex(kRallyColumn);
    if (editor.state.rallyList.renameTarget == rally.id) {
        drawRenameField(editor);
    } else {
        drawNameCell(editor, rally, position);
    }
    bool stillThere = rallies.size() == count;
    if (stillThere) {
        ImGui::TableSetColumnIndex(kStartColumn);
        ImGui::TextUnformatted(formatClock(rally.startSec).c_str());
        ImGui::TableSetColumnIndex(kLengthColumn);
        ImGui::TextUnformatted(formatDuration(rallyLengthSec(rally)).c_str());
        ImGui::TableSetColumnIndex(kBreakColumn);
        drawBreakCell(facts, position);
        if (facts.scoreShown) {
            ImGui::TableSetColumnIndex(kScoreColumn);
            drawScoreCell(rally, facts.scores[position], position);
        }
    }
    ImGui::PopID();
    return stillThere;
}

// Wide enough for the header and its sort arrow, whatever the font.
float sortableHeaderWidth(const char* header) {
    constexpr float kSortArrowScale = 0.65f;  // the table's own arrow size
    return ImGui::CalcTextSize(header).x + ImGui::GetFontSize() * kSortArrowScale + ImGui::GetStyle().FramePadding.x;
}

constexpr float kTickWidth = 28;
constexpr float kScoreWidth = 52;

float timeColumnWidth(bool scoreShown) {
    return std::max(scaled(scoreShown ? 54 : 64), sortableHeaderWidth("Length"));
}

std::vector<size_t> sortedRows(const std::vector<Rally>& rallies) {
    RallyOrderKey key = RallyOrderKey::Position;
    bool descending = false;
    if (const ImGuiTableSortSpecs* specs = ImGui::TableGetSortSpecs(); specs && specs->SpecsCount > 0) {
        const ImGuiTableColumnSortSpecs& spec = specs->Specs[0];
        if (spec.ColumnUserID == kLengthColumn) key = RallyOrderKey::Length;
        if (spec.ColumnUserID == kBreakColumn) key = RallyOrderKey::Break;
        descending = spec.SortDirection == ImGuiSortDirection_Descending;
    }
    return rallyRowOrder(rallies, key, descending);
}

void drawTable(EditorContext& editor) {
    const std::vector<Rally>& rallies = editor.project.rallies;
    const ListFacts facts{rallyBreaks(rallies), rallyScores(rallies), anyRallyScored(rallies)};

    const ImGuiTableFlags flags =
        ImGuiTableFlags_Sortable | ImGuiTableFlags_ScrollY | ImGuiTableFlags_RowBg | ImGuiTableFlags_BordersInnerH;
    const float height = ImGui::GetContentRegionAvail().y - ImGui::GetTextLineHeightWithSpacing();
    if (!ImGui::BeginTable("rallies", facts.scoreShown ? 6 : 5, flags, ImVec2(0, std::max(height, 1.0f)))) return;
    const float timeWidth = timeColumnWidth(facts.scoreShown);
    ImGui::TableSetupScrollFreeze(0, 1);
    ImGui::TableSetupColumn("", ImGuiTableColumnFlags_WidthFixed | ImGuiTableColumnFlags_NoSort, scaled(kTickWidth),
                            kTickColumn);
    ImGui::TableSetupColumn("Rally", ImGuiTableColumnFlags_WidthStretch | ImGuiTableColumnFlags_DefaultSort, 0,
                            kRallyColumn);
    ImGui::TableSetupColumn("Start", ImGuiTableColumnFlags_WidthFixed, timeWidth, kStartColumn);
    ImGui::TableSetupColumn("Length", ImGuiTableColumnFlags_WidthFixed | ImGuiTableColumnFlags_PreferSortDescending,
                            timeWidth, kLengthColumn);
    ImGui::TableSetupColumn("Break", ImGuiTableColumnFlags_WidthFixed | ImGuiTableColumnFlags_PreferSortDescending,
                            timeWidth, kBreakColumn);
    if (facts.scoreShown) {
        ImGui::TableSetupColumn("Score", ImGuiTableColumnFlags_WidthFixed | ImGuiTableColumnFlags_NoSort,
                                scaled(kScoreWidth), kScoreColumn);
    }
    ImGui::TableHeadersRow();
    // Slim frames keep the ticks as high as a line of text.
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(ImGui::GetStyle().FramePadding.x, scaled(1)));
    for (const size_t position : sortedRows(rallies)) {
        if (!drawRow(editor, facts, position)) break;
    }
    ImGui::PopStyleVar();
    ImGui::EndTable();
}

void drawTotals(const EditorContext& editor) {
    FittedLine summary;
    summary.text(rallyListSummary(editor.project));
}

}  // namespace

float rallyListMinimumWidth(const std::vector<Rally>& rallies) {
    const ImGuiStyle& style = ImGui::GetStyle();
    const bool scoreShown = anyRallyScored(rallies);
    const int columns = scoreShown ? 6 : 5;
    // The name column keeps room for a default name of an added rally;
    // longer names are shortened.
    const float name = ImGui::CalcTextSize("Rally 88  (added)").x;
    const float fixed = scaled(kTickWidth) + 3 * timeColumnWidth(scoreShown) + (scoreShown ? scaled(kScoreWidth) : 0);
    const float cells = static_cast<float>(columns) * (2 * style.CellPadding.x + 1);
    return name + fixed + cells + style.ScrollbarSize + 2 * style.WindowPadding.x;
}

void drawRallyList(EditorContext& editor) {
    // Each is one undoable step, however many rallies it ticks.
    if (ImGui::SmallButton("Tick all") && editor.rallyEditor.setAllSelected(true)) {
        editor.state.saveAtFrameEnd = true;
    }
    ImGui::SameLine();
    if (ImGui::SmallButton("Untick all") && editor.rallyEditor.setAllSelected(false)) {
        editor.state.saveAtFrameEnd = true;
    }
    ImGui::SameLine();
    {
        FittedLine note;
        note.text("Ticked rallies are exported");
    }

    // A rally deleted or undone away while it was being renamed ends the rename.
    RallyListState& list = editor.state.rallyList;
    if (editor.rallyEditor.indexOfId(list.renameTarget) < 0) list.renameTarget = 0;
    if (list.renameTarget == 0 && !shortcutsBlocked() && keyPressed(Key::F2) && highlightedIndex(editor) >= 0) {
        startRename(editor, editor.selectedRallyId);
    }
    drawTable(editor);
    drawTotals(editor);
}

}  // namespace rallinox::ui
