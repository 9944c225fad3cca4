#include "app/shell/app.h"

#include <imgui.h>

#include <algorithm>
#include <filesystem>

#include "app/core/file_io.h"
#include "app/core/log.h"
#include "app/jobs/background_jobs.h"
#include "app/jobs/project_flows.h"
#include "platform/backend.h"
#include "video/frame_source.h"
#include "ui/dialogs/about_screen.h"
#include "ui/projects/analysis_pill.h"
#include "ui/editor/editor_screen.h"
#include "ui/dialogs/export_dialog.h"
#include "ui/kit/feedback.h"
#include "ui/kit/fonts.h"
#include "ui/kit/keys.h"
#include "ui/dialogs/locate_video_dialog.h"
#include "ui/dialogs/quit_dialog.h"
#include "ui/projects/projects_screen.h"
#include "ui/dialogs/settings_screen.h"
#include "ui/kit/widgets.h"

namespace rallinox {

namespace {

constexpr double kToastSec = 4.0;
constexpr const char* kTitle = "Rallinox";

}  // namespace

App::App(Backend& appWindow, ui::FileDialogs::Backends dialogBackends)
    : paths(DataPaths::compute()),
      store(paths.projectsDir),
      window(appWindow),
      fileDialogs(dialogBackends),
      jobs(std::make_unique<BackgroundJobs>(store)) {
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

void App::saveSettings() { settings.save(paths.settingsFile); }

void App::showError(const std::string& text) { errorText = text; }

void App::showToast(const std::string& text) {
    toastText = text;
    toastUntil = ImGui::GetTime() + kToastSec;
}

bool App::requestClose() {
    if (!jobs->running()) return true;
    quitAsked_ = true;
    return false;
}

void App::drawQuitQuestion() {
    if (!quitAsked_) return;
    // Nothing is left to stop once the jobs ended: the close goes ahead.
    const ui::QuitAnswer answer = jobs->running() ? ui::drawQuitDialog() : ui::QuitAnswer::Quit;
    if (answer == ui::QuitAnswer::Pending) return;
    quitAsked_ = false;
    quitConfirmed_ = answer == ui::QuitAnswer::Quit;
}

void App::onWindowClosing() {
    // The last chance for a result the disk refused; every change of the open project is saved already.
    saveUnsavedAnalysis();
    replaceWholeFile(paths.dataDir / "window.txt", formatWindowPlacement(window.placement()));
}

void App::newProjectFromVideo(const std::string& path) {
    setScreen(ui::Screen::Projects);
    NewProjectResult created = createProjectFromVideo(store, settings, path);
    if (!created.project) {
        showError(created.error);
        return;
    }
    startAnalysis(*created.project);
    reloadProjects();
}

void App::reopenProjectOfVideo(const std::string& path) {
    std::error_code wantedError;
    const std::filesystem::path wanted = std::filesystem::weakly_canonical(path, wantedError);
    const auto sameVideo = [&](const Project& project) {
        if (wantedError) return project.videoPath == path;
        std::error_code error;
        const std::filesystem::path projectVideo = std::filesystem::weakly_canonical(project.videoPath, error);
        return error ? project.videoPath == path : projectVideo == wanted;
    };
    const auto newest = std::find_if(projects.begin(), projects.end(), sameVideo);
    if (newest == projects.end()) {
        newProjectFromVideo(path);
    } else if (newest->state == ProjectState::Ready) {
        openProjectById(newest->id);
    } else {
        Project project = *newest;
        startAnalysis(project);
        reloadProjects();
    }
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
    editor.forgetProject();
    player.open(openProject->videoPath);
    // The editor starts where the work starts: at the highlighted first rally.
    if (!openProject->rallies.empty()) player.seek(openProject->rallies.front().startSec);
    player.setRate(ui::kPlaybackSpeeds[editor.speedIndex]);
    player.setMuted(!editor.sound);
    window.setTitle(openProject->name + "  -  " + kTitle);
    setScreen(ui::Screen::Editor);
}

bool App::isProjectOpen(const std::string& id) const { return openProject && openProject->id == id; }

void App::deleteProject(const std::string& id) {
    if (jobs->isAnalysing(id)) cancelAnalysis();
    if (unsavedAnalysis && unsavedAnalysis->id == id) unsavedAnalysis.reset();
    thumbnails.drop(id);
    store.remove(id);
    reloadProjects();
}

void App::startAnalysis(Project& project) {
    if (std::string refused = jobs->startAnalysis(project); !refused.empty()) showError(refused);
}

void App::cancelAnalysis() {
    jobs->cancelAnalysis();
    reloadProjects();
}

void App::startExport(ExportRequest request) {
    jobs->startExport(std::move(request));
}

void App::openWithDesktop(const std::string& path) { desktop.open(path); }

void App::showInFolder(const std::string& path) { desktop.showInFolder(path); }

void App::showDesktopFailures() {
    for (const std::string& failure : desktop.takeFailures()) showToast(failure);
}

void App::pollJobs() {
    if (std::optional<FinishedAnalysis> finished = jobs->pollAnalysis()) takeOver(*finished);
    if (std::optional<ExportResult> exported = jobs->pollExport()) {
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
    const bool nothingOpen = !openProject && screen == ui::Screen::Projects;
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
    setScreen(ui::Screen::Projects);
    reloadProjects();
}

void App::setScreen(ui::Screen next) { screen = next; }

void App::setWindowTitle(const std::string& title) { window.setTitle(title); }

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
    } else if (ui::ctrlDown() && ui::keyPressed(Key::E) && screen == ui::Screen::Editor && !jobs->exportJob) {
        ui::openExportDialog(selectedRallyId);
    } else if (ui::ctrlDown() && ui::keyPressed(Key::Comma) && screen != ui::Screen::Editor) {
        setScreen(ui::Screen::Settings);
    } else if (ui::keyPressed(Key::Escape)) {
        if (screen == ui::Screen::Settings || screen == ui::Screen::About) {
            saveSettings();
            setScreen(ui::Screen::Projects);
        } else if (screen == ui::Screen::Editor) {
            closeProject();
        }
    }
}

std::optional<ui::AnalysisView> App::analysisView() const {
    const AnalysisJob* job = jobs->analysisJob.get();
    if (!job) return std::nullopt;
    const AnalysisProgress& progress = job->progress;
    const int stage = progress.stage.load();
    return ui::AnalysisView{job->projectId,
                            progress.fraction.load(),
                            analysisStageName(stage),
                            stage == 1,
                            job->elapsedSec(),
                            progress.videoSecDone.load(),
                            progress.framesPerSec.load(),
                            decoderName(progress.decoder.load())};
}

ui::EditorContext App::editorContext() {
    return {.project = *openProject,
            .rallyEditor = *rallyEditor,
            .player = player,
            .picture = playerTexture,
            .selectedRallyId = selectedRallyId,
            .settings = settings,
            .state = editor,
            .actions = *this,
            .analysing = jobs->analysisJob != nullptr,
            .exporting = jobs->exportJob != nullptr,
            .fileDialogOpen = fileDialogs.isOpen()};
}

ui::ExportDialogContext App::exportDialogContext() {
    return {.project = *openProject,
            .selectedRallyId = selectedRallyId,
            .settings = settings,
            .defaultExportDir = paths.defaultExportDir,
            .fileDialogs = fileDialogs,
            .running = jobs->exportJob.get(),
            .lastExport = lastExport,
            .actions = *this};
}

void App::drawScreen() {
    switch (screen) {
        case ui::Screen::Projects: {
            ui::ProjectsContext context{.projects = projects,
                                        .analysis = analysisView(),
                                        .thumbnails = thumbnails,
                                        .fileDialogs = fileDialogs,
                                        .actions = *this};
            ui::drawProjectsScreen(context);
            break;
        }
        case ui::Screen::Editor: {
            if (!openProject) {
                setScreen(ui::Screen::Projects);
                break;
            }
            ui::EditorContext context = editorContext();
            ui::drawEditorScreen(context);
            break;
        }
        case ui::Screen::Settings:
            ui::drawSettingsScreen(settings, paths, fileDialogs, *this);
            break;
        case ui::Screen::About:
            ui::drawAboutScreen(paths, *this);
            break;
    }
}

void App::frame() {
    pollJobs();
    showDesktopFailures();
    noteNameGlyphs();
    handleShortcuts();
    taskbar.set(jobs->progressValue());
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
    // The question replaces the other dialogs for its time; they come back
    // as they were when the user stays.
    const bool askingToQuit = quitAsked_;
    if (askingToQuit) {
        drawQuitQuestion();
    } else {
        if (openProject) {
            ui::ExportDialogContext context = exportDialogContext();
            ui::drawExportDialog(context);
        }
        fileDialogs.draw();
        ui::drawErrorDialog(errorText);
    }
    ImGui::End();
    if (const std::optional<ui::AnalysisView> analysis = analysisView(); analysis && screen != ui::Screen::Projects) {
        ui::drawAnalysisPill(*analysis, projects);
    }
    if (!locateRequest.empty() && !askingToQuit) {
        ImGui::Begin("##main", nullptr, mainFlags);
        ui::drawLocateVideoDialog(locateRequest, store, fileDialogs, *this);
        ImGui::End();
    }

    ui::drawToast(toastText, toastUntil);
}

}  // namespace rallinox
