#include "ui/editor/edit_bar.h"

#include <imgui.h>

#include <string>

#include "ui/editor/editor_context.h"
#include "ui/editor/rally_actions.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

// The undo and redo buttons explain themselves even while they are disabled.
void historyTip(const std::string& label, const char* nothingText, const char* verb, const char* keys) {
    if (!ImGui::IsItemHovered(ImGuiHoveredFlags_AllowWhenDisabled)) return;
    if (label.empty()) {
        ImGui::SetTooltip("%s", nothingText);
    } else {
        ImGui::SetTooltip("%s: %s  [%s]", verb, label.c_str(), keys);
    }
}

}  // namespace

void drawEditBar(EditorContext& editor) {
    const bool noRally = highlightedIndex(editor) < 0;

    ImGui::BeginDisabled(noRally);
    if (ImGui::Button("Start here [I]")) startHighlightedHere(editor);
    hoverTip("Move the start of the highlighted rally to the current frame");
    ImGui::SameLine();
    if (ImGui::Button("End here [O]")) endHighlightedHere(editor);
    hoverTip("Move the end of the highlighted rally to the current frame");
    ImGui::SameLine();
    if (ImGui::Button("Split here")) splitHighlightedHere(editor);
    hoverTip("Two rallies were joined: cut the highlighted one in two at the current frame");
    ImGui::SameLine();
    if (ImGui::Button("Join with next")) joinHighlightedWithNext(editor);
    ImGui::SameLine();
    if (dangerButton("Delete [Del]")) deleteRallyWithMessage(editor, editor.selectedRallyId);
    ImGui::EndDisabled();

    ImGui::SameLine();
    if (ImGui::Button("Add rally here [A]")) addRallyAtPlayhead(editor);
    hoverTip("Missed a rally? Adds an 8 s rally from the current frame; then adjust its end");

    ImGui::SameLine();
    ImGui::BeginDisabled(!editor.rallyEditor.canUndo());
    if (ImGui::Button("Undo")) undoWithMessage(editor);
    ImGui::EndDisabled();
    historyTip(editor.rallyEditor.undoLabel(), "Nothing to undo", "Undo", "Ctrl+Z");

    ImGui::SameLine();
    ImGui::BeginDisabled(!editor.rallyEditor.canRedo());
    if (ImGui::Button("Redo")) redoWithMessage(editor);
    ImGui::EndDisabled();
    historyTip(editor.rallyEditor.redoLabel(), "Nothing to redo", "Redo", "Ctrl+Shift+Z");
}

}  // namespace rallinox::ui
