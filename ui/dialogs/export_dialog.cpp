#include "ui/dialogs/export_dialog.h"

#include <imgui.h>

#include <algorithm>
#include <filesystem>

#include "app/core/settings.h"
#include "app/jobs/export_job.h"
#include "export/export_plan.h"
#include "ui/dialogs/export_choice.h"
#include "app/core/time_format.h"
#include "ui/kit/app_actions.h"
#include "ui/kit/file_dialogs.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

constexpr const char* kTitle = "Export rallies";

// The dialog's choices, kept for the session; the file (or folder) and start time of its export.
struct DialogState {
    bool open = false;
    ExportScope scope = ExportScope::Ticked;
    bool eachRally = false;
    bool fast = false;
    bool timeline = false;
    TimelineFormat timelineFormat = TimelineFormat::Fcpxml;
    bool rallyList = false;
    std::string outputPath;
    double startTime = 0;
};

DialogState& dialogState() {
    static DialogState state;
    return state;
}

void scopeButton(const std::string& label, ExportScope scope) {
    ExportScope& chosen = dialogState().scope;
    if (ImGui::RadioButton(label.c_str(), chosen == scope)) chosen = scope;
}

void closeDialog() {
    dialogState().open = false;
    ImGui::CloseCurrentPopup();
}

template <typename Choice>
bool radioRow(const char* label, Choice& value, std::initializer_list<const char*> choices) {
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(label);
    bool changed = false;
    int index = 0;
    for (const char* choice : choices) {
        ImGui::SameLine();
        if (ImGui::RadioButton(choice, static_cast<int>(value) == index)) {
            value = static_cast<Choice>(index);
            changed = true;
        }
        ++index;
    }
    return changed;
}

void drawBoardOptions(ExportDialogContext& dialog) {
    ImGui::Indent();
    bool changed = radioRow("Look    ", dialog.settings.boardStyle, {"Two rows (TV)", "One bar"});
    changed |= radioRow("Where   ", dialog.settings.boardPosition, {"Top left", "Top right", "Bottom left"});
    changed |= radioRow("When    ", dialog.settings.boardTiming, {"Whole rally", "Start and end"});
    mutedTextWrapped("The score switches when the point ends; the winner's points light up for a moment.");
    ImGui::Unindent();
    if (changed) dialog.actions.saveSettings();
}

void drawScoreOption(ExportDialogContext& dialog) {
    const bool scored = anyRallyScored(dialog.project.rallies);
    bool shown = dialog.settings.boardEnabled && scored;
    ImGui::BeginDisabled(!scored);
    if (ImGui::Checkbox("Show the score on the video", &shown)) {
        dialog.settings.boardEnabled = shown;
        dialog.actions.saveSettings();
    }
    ImGui::EndDisabled();
    if (!scored) {
        ImGui::SameLine();
        mutedText("(score the rallies first, in the Score tab)");
    }
    if (shown) drawBoardOptions(dialog);
}

// Where the rally list and the timeline go: next to the video, or in the
// folder of the rally files under the project's name.
std::string besideExport(const Project& project, const std::string& chosenPath, const char* extension) {
    namespace fs = std::filesystem;
    if (!dialogState().eachRally) return fs::path(chosenPath).replace_extension(extension).string();
    const std::string name = proposedFileName(project, ExportScope::Ticked, 0);
    return (fs::path(chosenPath) / fs::path(name).replace_extension(extension)).string();
}

void startExport(const Project& project, const Settings& settings, AppActions& actions,
                 const std::vector<Rally>& chosen, const std::string& chosenPath) {
    DialogState& state = dialogState();
    ExportOptions options;
    (state.eachRally ? options.eachDir : options.outputPath) = chosenPath;
    options.scoreboard = settings.boardEnabled;
    options.keepSound = settings.includeAudio;
    options.edl = settings.writeEdl;
    options.fast = state.fast;
    if (state.rallyList) options.csvPath = besideExport(project, chosenPath, ".csv");
    if (state.timeline) {
        options.timelines.emplace_back(state.timelineFormat,
                                       besideExport(project, chosenPath, timelineExtension(state.timelineFormat)));
    }
    ExportRequest request = planExport(project, chosen, options, settings);
    state.outputPath = chosenPath;
    state.startTime = ImGui::GetTime();
    actions.startExport(std::move(request));
}

void chooseFileAndExport(ExportDialogContext& dialog, const std::vector<Rally>& chosen) {
    dialog.actions.saveSettings();
    const Project& project = dialog.project;
    const std::string fileName = proposedFileName(project, dialogState().scope, dialog.selectedRallyId);
    const std::string startFolder =
        dialog.settings.exportDir.empty() ? dialog.defaultExportDir.string() : dialog.settings.exportDir;
    std::error_code ignored;
    std::filesystem::create_directories(startFolder, ignored);
    // The choice arrives in a later frame: the callback holds only what outlives this one.
    auto onChosen = [project, &settings = dialog.settings, &actions = dialog.actions, chosen](const std::string& path) {
        if (actions.isProjectOpen(project.id)) startExport(project, settings, actions, chosen, path);
    };
    if (dialogState().eachRally)
        dialog.fileDialogs.chooseFolder(startFolder, onChosen);
    else
        dialog.fileDialogs.chooseSaveFile(startFolder, fileName, "MP4 video", "*.mp4", "mp4", onChosen);
}

void drawFileOptions(ExportDialogContext& dialog) {
    DialogState& state = dialogState();
    ImGui::Checkbox("One file per rally", &state.eachRally);
    ImGui::SameLine();
    mutedText("(\"01 Rally 1.mp4\", ... in a folder you choose)");
    ImGui::Checkbox("Fast, no re-encoding", &state.fast);
    if (state.fast) {
        ImGui::Indent();
        mutedText("The picture is copied as it is: lossless and much faster.");
        mutedText("Each rally then starts at the key frame at or before its start,");
        mutedText("up to one key-frame interval early. With the score shown, the");
        mutedText("video is re-encoded as usual.");
        ImGui::Unindent();
    }
    ImGui::BeginDisabled(state.eachRally);
    if (ImGui::Checkbox("Also save an EDL for video editors (Resolve, Premiere)", &dialog.settings.writeEdl))
        dialog.actions.saveSettings();
    ImGui::EndDisabled();
    ImGui::Checkbox("Timeline for video editors", &state.timeline);
    if (state.timeline) {
        ImGui::SameLine();
        ImGui::SetNextItemWidth(scaled(250));
        const char* formats[] = {"FCPXML (Final Cut Pro, Resolve)", "FCP 7 XML (Premiere, Resolve)",
                                 "OpenTimelineIO (.otio)"};
        int format = int(state.timelineFormat);
        if (ImGui::Combo("##timeline", &format, formats, IM_ARRAYSIZE(formats))) {
            state.timelineFormat = TimelineFormat(format);
        }
    }
    ImGui::Checkbox("Save the rally list (CSV)", &state.rallyList);
}

void drawOptionsPanel(ExportDialogContext& dialog) {
    const Project& project = dialog.project;
    const int ticked = int(std::count_if(project.rallies.begin(), project.rallies.end(),
                                         [](const Rally& rally) { return rally.selected; }));
    const std::string tickedLabel = "Ticked rallies (" + std::to_string(ticked) + ")";
    const std::string allLabel = "All rallies (" + std::to_string(project.rallies.size()) + ")";
    const std::string onlyLabel = onlyRallyLabel(project, dialog.selectedRallyId);
    scopeButton(tickedLabel, ExportScope::Ticked);
    scopeButton(allLabel, ExportScope::All);
    scopeButton(onlyLabel, ExportScope::OnlyHighlighted);

    if (ImGui::Checkbox("Keep the sound", &dialog.settings.includeAudio)) dialog.actions.saveSettings();
    drawScoreOption(dialog);
    drawFileOptions(dialog);

    ImGui::Separator();
    const std::vector<Rally> chosen = chosenRallies(project, dialogState().scope, dialog.selectedRallyId);
    ImGui::TextWrapped("%s", exportSummary(project, chosen, dialogState().eachRally).c_str());
    ImGui::Separator();
    ImGui::BeginDisabled(chosen.empty());
    const char* exportLabel = dialogState().eachRally ? "Choose folder and export" : "Choose file and export";
    if (accentButton(exportLabel, ImVec2(scaled(230), 0))) {
        ImGui::CloseCurrentPopup();
        chooseFileAndExport(dialog, chosen);
    }
    ImGui::EndDisabled();
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(scaled(120), 0))) closeDialog();
}

void drawProgressPanel(ExportDialogContext& dialog, ExportJob& job) {
    const int32_t rally = job.request.eachPaths.empty() ? job.progress.currentCut.load() : job.progress.currentFile.load();
    ImGui::Text("Exporting rally %d of %zu...", rally + 1, job.request.rallies.size());
    const double fraction = overallFraction(job.request, job.progress);
    ImGui::ProgressBar(float(fraction), ImVec2(-FLT_MIN, 0));
    if (fraction > 0.03f) {
        const double elapsed = ImGui::GetTime() - dialogState().startTime;
        ImGui::Text("About %s left", formatClock(elapsed * (1.0 / fraction - 1.0)).c_str());
    } else {
        ImGui::TextUnformatted("Starting...");
    }
    mutedText("The video is encoded on the processor; a supported graphics card makes this faster.");
    if (ImGui::Button("Cancel", ImVec2(scaled(120), 0))) job.cancel();
}

void drawResultPanel(ExportDialogContext& dialog, const ExportResult& result) {
    const std::string& path = dialogState().outputPath;
    const bool eachRally = dialogState().eachRally;
    if (result.ok) {
        ImGui::TextColored(colors::kReadyText, eachRally ? "Your rally videos are ready." : "Your rallies video is ready.");
        ImGui::TextWrapped("%s", path.c_str());
        if (result.noSound) ImGui::TextWrapped("The source audio format is not supported, so the video has no sound.");
    } else if (result.cancelled) {
        ImGui::TextWrapped("Export cancelled.");
    } else {
        ImGui::TextColored(colors::kFailedText, "The export did not finish.");
    }
    if (!result.cancelled && !result.message.empty()) ImGui::TextWrapped("%s", result.message.c_str());
    ImGui::Separator();
    if (result.ok) {
        if (!eachRally) {
            if (accentButton("Play video", ImVec2(scaled(140), 0))) dialog.actions.openWithDesktop(path);
            ImGui::SameLine();
        }
        if (ImGui::Button("Show in folder", ImVec2(scaled(160), 0))) dialog.actions.showInFolder(path);
        ImGui::SameLine();
    }
    if (ImGui::Button("Close", ImVec2(scaled(120), 0))) {
        dialog.lastExport.reset();
        closeDialog();
    }
}

}  // namespace

void openExportDialog(int64_t& selectedRallyId, int64_t onlyRallyId) {
    if (onlyRallyId != 0) {
        selectedRallyId = onlyRallyId;
        dialogState().scope = ExportScope::OnlyHighlighted;
    }
    dialogState().open = true;
}

void drawExportDialog(ExportDialogContext& dialog) {
    if (!dialogState().open) return;
    // The file dialog is a window of its own; this one waits behind it.
    if (dialog.fileDialogs.isOpen()) return;
    if (!ImGui::IsPopupOpen(kTitle)) ImGui::OpenPopup(kTitle);
    ImGui::SetNextWindowSize(ImVec2(scaled(520), 0));
    centreNextDialog();
    if (!ImGui::BeginPopupModal(kTitle, nullptr, ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings))
        return;
    if (dialog.running) {
        drawProgressPanel(dialog, *dialog.running);
    } else if (dialog.lastExport) {
        drawResultPanel(dialog, *dialog.lastExport);
    } else {
        drawOptionsPanel(dialog);
    }
    ImGui::EndPopup();
}

}  // namespace rallinox::ui
