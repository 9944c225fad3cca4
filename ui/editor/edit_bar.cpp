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
    // A narrow window puts the buttons that do not fit on a second line.
    FlowRow row;

    ImGui::BeginDisabled(noRally);
    if (row.button("Start here [I]")) startHighlightedHere(editor);
    hoverTip("Move the start of the highlighted rally to the current frame");
    if (row.button("End here [O]")) endHighlightedHere(editor);
    hoverTip("Move the end of the highlighted rally to the current frame");
    if (row.button("Split here")) splitHighlightedHere(editor);
    hoverTip("Two rallies were joined: cut the highlighted one in two at the current frame");
    if (row.button("Join with next")) joinHighlightedWithNext(editor);
    if (row.dangerButton("Delete [Del]")) deleteRallyWithMessage(editor, editor.selectedRallyId);
    ImGui::EndDisabled();

    if (row.button("Add rally here [A]")) addRallyAtPlayhead(editor);
    hoverTip("Missed a rally? Adds an 8 s rally from the current frame; then adjust its end");

    ImGui::BeginDisabled(!editor.rallyEditor.canUndo());
    if (row.button("Undo")) undoWithMessage(editor);
    ImGui::EndDisabled();
    undoTip(editor);
}

}  // namespace rallinox::ui
