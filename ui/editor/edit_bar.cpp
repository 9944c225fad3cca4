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
    historyTip(editor.rallyEditor.undoLabel(), "Nothing to undo", "Undo", "Ctrl+Z");

    ImGui::BeginDisabled(!editor.rallyEditor.canRedo());
    if (row.button("Redo")) redoWithMessage(editor);
    ImGui::EndDisabled();
    historyTip(editor.rallyEditor.redoLabel(), "Nothing to redo", "Redo", "Ctrl+Shift+Z");
}

}  // namespace rallinox::ui
