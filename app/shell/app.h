// The one application object: owns the application's state and decides in
// every frame which screen is drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/core/data_paths.h"
#include "app/core/project.h"
#include "app/core/project_store.h"
#include "app/core/settings.h"
#include "edit/rally_editor.h"
#include "export/export_request.h"
#include "platform/desktop_requests.h"
#include "platform/launcher_progress.h"
#include "ui/dialogs/export_dialog.h"
#include "ui/editor/editor_context.h"
#include "ui/editor/player_texture.h"
#include "ui/kit/app_actions.h"
#include "ui/kit/file_dialogs.h"
#include "ui/projects/thumbnail_cache.h"
#include "video/preview_player.h"

namespace rallinox {

class Backend;
class BackgroundJobs;
struct FinishedAnalysis;

class App final : public ui::AppActions {
public:
    // Opens the log, loads the settings and reads the project list.
    App(Backend& window, ui::FileDialogs::Backends dialogBackends = ui::FileDialogs::Backends::Desktop);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // One frame of GUI, between the GUI library's new-frame and render calls.
    void frame();

    void showError(const std::string& text) override;
    void showToast(const std::string& text) override;
    void setScreen(ui::Screen next) override;
    void setWindowTitle(const std::string& title) override;
    // The projects screen is shown.
    void newProjectFromVideo(const std::string& path) override;
    // Opens the newest project of this video; one never analysed to the end
    // is analysed again; with none, a new project is made.
    void reopenProjectOfVideo(const std::string& path);
    void openProjectById(const std::string& id) override;
    bool isProjectOpen(const std::string& id) const override;
    void closeProject() override;
    void deleteProject(const std::string& id) override;
    void reloadProjects() override;
    // Also saves a result the disk refused before.
    void saveOpenProject() override;
    void saveSettings() override;
    void startAnalysis(Project& project) override;
    void cancelAnalysis() override;
    void startExport(ExportRequest request) override;
    void openWithDesktop(const std::string& path) override;
    void showInFolder(const std::string& path) override;

    // The window's close button: true to close at once; while an analysis or
    // an export runs, the window asks first and stays.
    bool requestClose();
    // The user chose to stop the running jobs and quit, or they ended while
    // the question was shown.
    bool quitConfirmed() const { return quitConfirmed_; }
    // The window is about to close: remembers its placement.
    void onWindowClosing();

    DataPaths paths;
    ProjectStore store;
    Settings settings;
    std::vector<Project> projects;  // newest first
    std::optional<Project> openProject;
    // A finished analysis whose save failed: opened instead of its file and
    // saved again at the user's next change.
    std::optional<Project> unsavedAnalysis;
    // Every change to the open project's rallies goes through it; it lives
    // exactly as long as the project is open.
    std::unique_ptr<RallyEditor> rallyEditor;
    ui::EditorState editor;
    PreviewPlayer player;
    ui::PlayerTexture playerTexture;
    ui::Screen screen = ui::Screen::Projects;
    int64_t selectedRallyId = 0;
    Backend& window;
    ui::FileDialogs fileDialogs;
    std::string locateRequest;
    std::string errorText;
    std::string toastText;
    double toastUntil = 0;
    ui::ThumbnailCache thumbnails{store};
    TaskbarProgress taskbar;
    DesktopRequests desktop;
    std::optional<ExportResult> lastExport;
    // Last: destroyed first, so that every job has stopped before the rest goes.
    const std::unique_ptr<BackgroundJobs> jobs;

private:
    bool quitAsked_ = false;
    bool quitConfirmed_ = false;

    void pollJobs();
    void drawQuitQuestion();
    void showDesktopFailures();
    // Saves a finished analysis the disk refused before (with the edits when it is open).
    void saveUnsavedAnalysis();
    void takeOver(const FinishedAnalysis& finished);
    void noteNameGlyphs() const;
    void handleShortcuts();
    void drawScreen();
    std::optional<ui::AnalysisView> analysisView() const;
    ui::EditorContext editorContext();
    ui::ExportDialogContext exportDialogContext();
};

}  // namespace rallinox
