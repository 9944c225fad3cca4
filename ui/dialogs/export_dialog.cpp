#include "ui/dialogs/export_dialog.h"

#include <imgui.h>

#include <algorithm>
#include <filesystem>

#include "app/shell/app.h"
#include "export/export_body.h"
#include "export/export_plan.h"
#include "platform/desktop.h"
#include "ui/dialogs/export_choice.h"
#include "ui/kit/theme.h"
#include "app/core/time_format.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

constexpr const char* kTitle = "Export rallies";
const ImVec4 kReadyColor{0.35f, 0.78f, 0.45f, 1.0f};
const ImVec4 kFailedColor{0.937f, 0.267f, 0.267f, 1.0f};

ExportScope scopeOf(const App& app) { return ExportScope(app.editor.exportScope); }

void saveSettings(App& app) { app.settings.save(app.paths.settingsFile); }

void closeDialog(App& app) {
    app.editor.exportDialogOpen = false;
    ImGui::CloseCurrentPopup();
}

bool radioRow(const char* label, int32_t& value, std::initializer_list<const char*> choices) {
    ImGui::TextUnformatted(label);
    bool changed = false;
    int index = 0;
    for (const char* choice : choices) {
        ImGui::SameLine();
        changed |= ImGui::RadioButton(choice, &value, index++);
    }
    return changed;
}

void drawBoardOptions(App& app) {
    ImGui::Indent();
    bool changed = radioRow("Look    ", app.settings.boardStyle, {"Two rows (TV)", "One bar"});
    changed |= radioRow("Where   ", app.settings.boardPosition, {"Top left", "Top right", "Bottom left"});
    changed |= radioRow("When    ", app.settings.boardTiming, {"Whole rally", "Start and end"});
    mutedText("The score switches when the point ends; the winner's points light up for a moment.");
    ImGui::Unindent();
    if (changed) saveSettings(app);
}

void drawScoreOption(App& app) {
    const bool scored = anyRallyScored(app.openProject->rallies);
    bool shown = app.settings.boardEnabled && scored;
    ImGui::BeginDisabled(!scored);
    if (ImGui::Checkbox("Show the score on the video", &shown)) {
        app.settings.boardEnabled = shown;
        saveSettings(app);
    }
    ImGui::EndDisabled();
    if (!scored) {
        ImGui::SameLine();
        mutedText("(score the rallies first, in the Score tab)");
    }
    if (shown) drawBoardOptions(app);
}

// Where the rally list and the timeline go: next to the video, or in the
// folder of the rally files under the project's name.
std::string besideExport(const App& app, const std::string& chosenPath, const char* extension) {
    namespace fs = std::filesystem;
    if (!app.editor.exportEachRally) return fs::path(chosenPath).replace_extension(extension).string();
    const std::string name = proposedFileName(*app.openProject, ExportScope::Ticked, 0);
    return (fs::path(chosenPath) / fs::path(name).replace_extension(extension)).string();
}

void startExport(App& app, const std::vector<Rally>& chosen, const std::string& chosenPath) {
    const EditorState& editor = app.editor;
    ExportOptions options;
    (editor.exportEachRally ? options.eachDir : options.outputPath) = chosenPath;
    options.scoreboard = app.settings.boardEnabled;
    options.keepSound = app.settings.includeAudio;
    options.edl = app.settings.writeEdl;
    options.fast = editor.exportFast;
    if (editor.exportRallyList) options.csvPath = besideExport(app, chosenPath, ".csv");
    if (editor.exportTimeline) {
        const auto format = TimelineFormat(editor.exportTimelineFormat);
        options.timelines.emplace_back(format, besideExport(app, chosenPath, timelineExtension(format)));
    }
    ExportRequest request = planExport(*app.openProject, chosen, options, app.settings);
    app.editor.exportOutputPath = chosenPath;
    app.editor.exportStartTime = ImGui::GetTime();
    app.startExport(std::move(request));
}

void chooseFileAndExport(App& app, const std::vector<Rally>& chosen) {
    saveSettings(app);
    const Project& project = *app.openProject;
    const std::string fileName = proposedFileName(project, scopeOf(app), app.selectedRallyId);
    const std::string startFolder =
        app.settings.exportDir.empty() ? app.paths.defaultExportDir.string() : app.settings.exportDir;
    std::error_code ignored;
    std::filesystem::create_directories(startFolder, ignored);
    const std::string projectId = project.id;
    auto onChosen = [&app, chosen, projectId](const std::string& path) {
        if (app.openProject && app.openProject->id == projectId) startExport(app, chosen, path);
    };
    if (app.editor.exportEachRally)
        app.fileDialogs.chooseFolder(startFolder, onChosen);
    else
        app.fileDialogs.chooseSaveFile(startFolder, fileName, "MP4 video", "*.mp4", "mp4", onChosen);
}

void drawFileOptions(App& app) {
    EditorState& editor = app.editor;
    ImGui::Checkbox("One file per rally", &editor.exportEachRally);
    ImGui::SameLine();
    mutedText("(\"01 Rally 1.mp4\", ... in a folder you choose)");
    ImGui::Checkbox("Fast, no re-encoding", &editor.exportFast);
    if (editor.exportFast) {
        ImGui::Indent();
        mutedText("The picture is copied as it is: lossless and much faster.");
        mutedText("Each rally then starts at the key frame at or before its start,");
        mutedText("up to one key-frame interval early. With the score shown, the");
        mutedText("video is re-encoded as usual.");
        ImGui::Unindent();
    }
    ImGui::BeginDisabled(editor.exportEachRally);
    if (ImGui::Checkbox("Also save an EDL for video editors (Resolve, Premiere)", &app.settings.writeEdl))
        saveSettings(app);
    ImGui::EndDisabled();
    ImGui::Checkbox("Timeline for video editors", &editor.exportTimeline);
    if (editor.exportTimeline) {
        ImGui::SameLine();
        ImGui::SetNextItemWidth(scaled(250));
        const char* formats[] = {"FCPXML (Final Cut Pro, Resolve)", "FCP 7 XML (Premiere, Resolve)",
                                 "OpenTimelineIO (.otio)"};
        ImGui::Combo("##timeline", &editor.exportTimelineFormat, formats, IM_ARRAYSIZE(formats));
    }
    ImGui::Checkbox("Save the rally list (CSV)", &editor.exportRallyList);
}

void drawOptionsPanel(App& app) {
    const Project& project = *app.openProject;
    const int ticked = int(std::count_if(project.rallies.begin(), project.rallies.end(),
                                         [](const Rally& rally) { return rally.selected; }));
    const std::string tickedLabel = "Ticked rallies (" + std::to_string(ticked) + ")";
    const std::string allLabel = "All rallies (" + std::to_string(project.rallies.size()) + ")";
    const std::string onlyLabel = onlyRallyLabel(project, app.selectedRallyId);
    ImGui::RadioButton(tickedLabel.c_str(), &app.editor.exportScope, int(ExportScope::Ticked));
    ImGui::RadioButton(allLabel.c_str(), &app.editor.exportScope, int(ExportScope::All));
    ImGui::RadioButton(onlyLabel.c_str(), &app.editor.exportScope, int(ExportScope::OnlyHighlighted));

    if (ImGui::Checkbox("Keep the sound", &app.settings.includeAudio)) saveSettings(app);
    drawScoreOption(app);
    drawFileOptions(app);

    ImGui::Separator();
    const std::vector<Rally> chosen = chosenRallies(project, scopeOf(app), app.selectedRallyId);
    ImGui::TextWrapped("%s", exportSummary(project, chosen, app.editor.exportEachRally).c_str());
    ImGui::Separator();
    ImGui::BeginDisabled(chosen.empty());
    const char* exportLabel = app.editor.exportEachRally ? "Choose folder and export" : "Choose file and export";
    if (accentButton(exportLabel, ImVec2(scaled(230), 0))) {
        ImGui::CloseCurrentPopup();
        chooseFileAndExport(app, chosen);
    }
    ImGui::EndDisabled();
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(scaled(120), 0))) closeDialog(app);
}

void drawProgressPanel(App& app, ExportJob& job) {
    const int32_t rally = job.request.eachPaths.empty() ? job.progress.currentCut.load() : job.progress.currentFile.load();
    ImGui::Text("Exporting rally %d of %zu...", rally + 1, job.request.rallies.size());
    const double fraction = overallFraction(job.request, job.progress);
    ImGui::ProgressBar(float(fraction), ImVec2(-FLT_MIN, 0));
    if (fraction > 0.03f) {
        const double elapsed = ImGui::GetTime() - app.editor.exportStartTime;
        ImGui::Text("About %s left", formatClock(elapsed * (1.0 / fraction - 1.0)).c_str());
    } else {
        ImGui::TextUnformatted("Starting...");
    }
    mutedText("The video is encoded on the processor; a supported graphics card makes this faster.");
    if (ImGui::Button("Cancel", ImVec2(scaled(120), 0))) job.cancel();
}

void drawResultPanel(App& app, const ExportResult& result) {
    const std::string& path = app.editor.exportOutputPath;
    const bool eachRally = app.editor.exportEachRally;
    if (result.ok) {
        ImGui::TextColored(kReadyColor, eachRally ? "Your rally videos are ready." : "Your rallies video is ready.");
        ImGui::TextWrapped("%s", path.c_str());
        if (result.noSound) ImGui::TextWrapped("The source audio format is not supported, so the video has no sound.");
    } else if (result.cancelled) {
        ImGui::TextWrapped("Export cancelled.");
    } else {
        ImGui::TextColored(kFailedColor, "The export did not finish.");
    }
    if (!result.cancelled && !result.message.empty()) ImGui::TextWrapped("%s", result.message.c_str());
    ImGui::Separator();
    if (result.ok) {
        if (!eachRally) {
            if (accentButton("Play video", ImVec2(scaled(140), 0))) shellOpen(path);
            ImGui::SameLine();
        }
        if (ImGui::Button("Show in folder", ImVec2(scaled(160), 0))) showInFolder(path);
        ImGui::SameLine();
    }
    if (ImGui::Button("Close", ImVec2(scaled(120), 0))) {
        app.lastExport.reset();
        closeDialog(app);
    }
}

}  // namespace

void openExportDialog(App& app, int64_t onlyRallyId) {
    if (!app.openProject) return;
    if (onlyRallyId != 0) {
        app.selectedRallyId = onlyRallyId;
        app.editor.exportScope = int(ExportScope::OnlyHighlighted);
    }
    app.editor.exportDialogOpen = true;
}

void drawExportDialog(App& app) {
    if (!app.editor.exportDialogOpen) return;
    if (!app.openProject) {
        app.editor.exportDialogOpen = false;
        return;
    }
    // The file dialog is a window of its own; this one waits behind it.
    if (app.fileDialogs.isOpen()) return;
    if (!ImGui::IsPopupOpen(kTitle)) ImGui::OpenPopup(kTitle);
    ImGui::SetNextWindowSize(ImVec2(scaled(520), 0));
    ImGui::SetNextWindowPos(ImGui::GetMainViewport()->GetCenter(), ImGuiCond_Appearing, ImVec2(0.5f, 0.5f));
    if (!ImGui::BeginPopupModal(kTitle, nullptr, ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings))
        return;
    if (app.jobs.exportJob) {
        drawProgressPanel(app, *app.jobs.exportJob);
    } else if (app.lastExport) {
        drawResultPanel(app, *app.lastExport);
    } else {
        drawOptionsPanel(app);
    }
    ImGui::EndPopup();
}

}  // namespace rallinox::ui
