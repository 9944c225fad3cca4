// The one application object: owns the application's state and decides in
// every frame which screen is drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/jobs/background_jobs.h"
#include "app/core/data_paths.h"
#include "app/core/project.h"
#include "app/core/project_store.h"
#include "app/core/settings.h"
#include "edit/rally_editor.h"
#include "platform/launcher_progress.h"
#include "ui/editor/editor_state.h"
#include "ui/kit/file_dialogs.h"
#include "ui/editor/player_texture.h"
#include "ui/projects/thumbnail_cache.h"
#include "video/preview_player.h"

namespace rallinox {

class Backend;

enum class Screen : int { projects = 0, editor = 1, settings = 2, about = 3 };

class App {
public:
    // Opens the log, loads the settings and reads the project list.
    App(Backend& window, ui::FileDialogs::Backends dialogBackends = ui::FileDialogs::Backends::Desktop);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // One frame of GUI, between the GUI library's new-frame and render calls.
    void frame();

    // Makes a project from the video and starts its analysis; the projects
    // screen is shown.
    void newProjectFromVideo(const std::string& path);
    // Saves and closes the project shown in the editor.
    void closeProject();
    // Opens the project in the editor; asks where the video is when it moved.
    void openProjectById(const std::string& id);
    // Cancels its analysis first; the video stays.
    void deleteProject(const std::string& id);
    // Analyses the project with its own settings; refused while another runs.
    void startAnalysis(Project& project);
    void cancelAnalysis();
    // Dropped while an export runs.
    void startExport(ExportRequest request);
    // Reads the project list from disk again.
    void reloadProjects();
    // Saves the open project and a result the disk refused before; a
    // failure goes to the error dialog.
    void saveOpenProject();

    void showError(const std::string& text);
    void showToast(const std::string& text);

    // Whether closing the window would stop an analysis or an export.
    bool hasJobs() const;
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
    Screen screen = Screen::projects;
    int64_t selectedRallyId = 0;
    Backend& window;
    ui::FileDialogs fileDialogs;
    std::string locateRequest;
    std::string errorText;
    std::string toastText;
    double toastUntil = 0;
    ui::ThumbnailCache thumbnails{store};
    TaskbarProgress taskbar;
    std::optional<ExportResult> lastExport;
    // Last: destroyed first, so that every job has stopped before the rest goes.
    BackgroundJobs jobs{store};

private:
    void pollJobs();
    // Saves a finished analysis the disk refused before (with the edits when it is open).
    void saveUnsavedAnalysis();
    void takeOver(const FinishedAnalysis& finished);
    void noteNameGlyphs() const;
    void handleShortcuts();
    void drawScreen();
    void setScreen(Screen next);
};

}  // namespace rallinox
