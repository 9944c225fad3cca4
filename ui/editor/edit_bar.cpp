#include "ui/editor/edit_bar.h"

#include <imgui.h>

#include <string>

#include "ui/editor/editor_context.h"
#include "ui/editor/rally_actions.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

// The undo button explains itself even while it is disabled.
void undoTip(const EditorContext& editor) {
    if (!ImGui::IsItemHovered(ImGuiHoveredFlags_AllowWhenDisabled)) return;
    if (!editor.rallyEditor.canUndo()) {
        ImGui::SetTooltip("Nothing to undo");
    } else {
        ImGui::SetTooltip("Undo: %s  [Ctrl+Z]", editor.rallyEditor.undoLabel().c_str());
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
    undoTip(editor);
}

}  // namespace rallinox::ui
