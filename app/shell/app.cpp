#include "app/shell/app.h"

#include <imgui.h>

#include "app/core/file_io.h"
#include "app/core/log.h"
#include "app/jobs/project_flows.h"
#include "platform/backend.h"
#include "ui/dialogs/about_screen.h"
#include "ui/projects/analysis_pill.h"
#include "ui/editor/editor_screen.h"
#include "ui/dialogs/export_dialog.h"
#include "ui/kit/feedback.h"
#include "ui/kit/fonts.h"
#include "ui/kit/keys.h"
#include "ui/dialogs/locate_video_dialog.h"
#include "ui/projects/projects_screen.h"
#include "ui/dialogs/settings_screen.h"
#include "ui/kit/widgets.h"

namespace rallinox {

namespace {

constexpr double kToastSec = 4.0;
constexpr const char* kTitle = "Rallinox";

}  // namespace

App::App(Backend& appWindow, ui::FileDialogs::Backends dialogBackends)
    : paths(DataPaths::compute()), store(paths.projectsDir), window(appWindow), fileDialogs(dialogBackends) {
    openLog(paths.logFile);
    logStartLine();
    settings.load(paths.settingsFile);
    reloadProjects();
}

App::~App() = default;

void App::reloadProjects() { projects = readProjectList(store); }

void App::saveOpenProject() {
    if (openProject) {
        if (SaveResult saved = store.save(*openProject); !saved) {
            showError(saved.message);
            return;
        }
        // Open in the editor, a refused analysis result was saved with the edits in it.
        if (unsavedAnalysis && unsavedAnalysis->id == openProject->id) unsavedAnalysis.reset();
    }
    saveUnsavedAnalysis();
}

void App::saveUnsavedAnalysis() {
    if (!unsavedAnalysis) return;
    const bool open = openProject && openProject->id == unsavedAnalysis->id;
    if (store.save(open ? *openProject : *unsavedAnalysis)) unsavedAnalysis.reset();
}

void App::showError(const std::string& text) { errorText = text; }

void App::showToast(const std::string& text) {
    toastText = text;
    toastUntil = ImGui::GetTime() + kToastSec;
}

bool App::hasJobs() const { return jobs.any(); }

void App::onWindowClosing() {
    // The last chance for a result the disk refused; every change of the open project is saved already.
    saveUnsavedAnalysis();
    replaceWholeFile(paths.dataDir / "window.txt", formatWindowPlacement(window.placement()));
}

void App::newProjectFromVideo(const std::string& path) {
    setScreen(Screen::projects);
    NewProjectResult created = createProjectFromVideo(store, settings, path);
    if (!created.project) {
        showError(created.error);
        return;
    }
    startAnalysis(*created.project);
    reloadProjects();
}

void App::openProjectById(const std::string& id) {
    OpenProjectResult loaded = loadProjectForEditor(store, id);
    if (loaded.status == OpenStatus::Unreadable) {
        showError(kProjectUnreadableMessage);
        return;
    }
    if (loaded.status == OpenStatus::VideoMissing) {
        locateRequest = id;
        return;
    }
    if (loaded.status == OpenStatus::NotAVideoFile) {
        showError(loaded.error);
        return;
    }
    // The disk refused the analysis result: the one in memory is newer.
    openProject = unsavedAnalysis && unsavedAnalysis->id == id ? *unsavedAnalysis : std::move(*loaded.project);
    rallyEditor = std::make_unique<RallyEditor>(*openProject);
    selectedRallyId = openProject->rallies.empty() ? 0 : openProject->rallies.front().id;
    editor.lastPlayerTime = -1.0;
    editor.trim = {};
    editor.renameTarget = 0;
    // Rally ids repeat between projects: a clip must not carry over.
    editor.decidingClip.end();
    player.open(openProject->videoPath);
    player.setRate(ui::kPlaybackSpeeds[editor.speedIndex]);
    player.setMuted(!editor.sound);
    window.setTitle(openProject->name + "  -  " + kTitle);
    setScreen(Screen::editor);
}

void App::deleteProject(const std::string& id) {
    if (jobs.isAnalysing(id)) cancelAnalysis();
    if (unsavedAnalysis && unsavedAnalysis->id == id) unsavedAnalysis.reset();
    thumbnails.drop(id);
    store.remove(id);
    reloadProjects();
}

void App::startAnalysis(Project& project) {
    if (std::string refused = jobs.startAnalysis(project); !refused.empty()) showError(refused);
}

void App::cancelAnalysis() {
    jobs.cancelAnalysis();
    reloadProjects();
}

void App::startExport(ExportRequest request) {
    jobs.startExport(std::move(request));
}

void App::pollJobs() {
    if (std::optional<FinishedAnalysis> finished = jobs.pollAnalysis()) takeOver(*finished);
    if (std::optional<ExportResult> exported = jobs.pollExport()) {
        lastExport = std::move(exported);
        window.requestAttention();
    }
}

void App::takeOver(const FinishedAnalysis& finished) {
    reloadProjects();
    if (!finished.project) return;  // deleted while it was analysed
    if (!finished.ok) {
        if (!finished.error.empty()) showError(finished.error);
        return;
    }
    thumbnails.drop(finished.projectId);
    window.requestAttention();
    if (finished.saveError.empty()) {
        showToast(finished.toast);
    } else {
        unsavedAnalysis = finished.project;
        showError(finished.error);
    }
    const bool nothingOpen = !openProject && screen == Screen::projects;
    const bool thisOneOpen = openProject && openProject->id == finished.projectId;
    // Reopening shows the new rallies with a fresh history.
    if (nothingOpen || thisOneOpen) openProjectById(finished.projectId);
}

void App::closeProject() {
    saveOpenProject();
    player.close();
    playerTexture.clear();
    rallyEditor.reset();
    openProject.reset();
    selectedRallyId = 0;
    window.setTitle(kTitle);
    setScreen(Screen::projects);
    reloadProjects();
}

void App::setScreen(Screen next) { screen = next; }

void App::noteNameGlyphs() const {
    for (const Project& project : projects) {
        ui::noteGlyphs(project.name);
        ui::noteGlyphs(project.videoPath);
        ui::noteGlyphs(project.match.homeName);
        ui::noteGlyphs(project.match.awayName);
    }
    if (openProject) {
        ui::noteGlyphs(openProject->name);
        ui::noteGlyphs(openProject->match.homeName);
        ui::noteGlyphs(openProject->match.awayName);
        for (const Rally& rally : openProject->rallies) ui::noteGlyphs(rally.name);
    }
}

void App::handleShortcuts() {
    using ui::Key;
    if (ui::shortcutsBlocked() || fileDialogs.isOpen()) return;
    if (ui::ctrlDown() && ui::keyPressed(Key::O)) {
        fileDialogs.chooseVideoFile([this](const std::string& path) { newProjectFromVideo(path); });
    } else if (ui::ctrlDown() && ui::keyPressed(Key::E) && screen == Screen::editor && !jobs.exportJob) {
        ui::openExportDialog(*this);
    } else if (ui::ctrlDown() && ui::keyPressed(Key::Comma) && screen != Screen::editor) {
        setScreen(Screen::settings);
    } else if (ui::keyPressed(Key::Escape)) {
        if (screen == Screen::settings || screen == Screen::about) {
            settings.save(paths.settingsFile);
            setScreen(Screen::projects);
        } else if (screen == Screen::editor) {
            closeProject();
        }
    }
}

void App::drawScreen() {
    switch (screen) {
        case Screen::projects:
            ui::drawProjectsScreen(*this);
            break;
        case Screen::editor:
            ui::drawEditorScreen(*this);
            break;
        case Screen::settings:
            ui::drawSettingsScreen(*this);
            break;
        case Screen::about:
            ui::drawAboutScreen(*this);
            break;
    }
}

void App::frame() {
    pollJobs();
    noteNameGlyphs();
    handleShortcuts();
    taskbar.set(jobs.progressValue());
    playerTexture.update(player);

    const ImGuiViewport* viewport = ImGui::GetMainViewport();
    ImGui::SetNextWindowPos(viewport->Pos);
    ImGui::SetNextWindowSize(viewport->Size);
    const ImGuiWindowFlags mainFlags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                       ImGuiWindowFlags_NoSavedSettings |
                                       ImGuiWindowFlags_NoBringToFrontOnFocus;
    ImGui::PushStyleVar(ImGuiStyleVar_WindowBorderSize, 0.0f);
    ImGui::Begin("##main", nullptr, mainFlags);
    ImGui::PopStyleVar();
    drawScreen();
    if (openProject) ui::drawExportDialog(*this);
    fileDialogs.draw();
    ui::drawErrorDialog(errorText);
    ImGui::End();
    ui::drawAnalysisPill(*this);
    if (!locateRequest.empty()) {
        ImGui::Begin("##main", nullptr, mainFlags);
        ui::drawLocateVideoDialog(*this);
        ImGui::End();
    }

    ui::drawToast(toastText, toastUntil);
}

}  // namespace rallinox
