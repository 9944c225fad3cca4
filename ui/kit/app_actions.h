// What the screens may ask of the application. The App implements it; the
// screens see this and the few objects their context hands them, never the App.
#pragma once

#include <string>

namespace rallinox {
struct Project;
struct ExportRequest;
}  // namespace rallinox

namespace rallinox::ui {

enum class Screen : int { Projects = 0, Editor = 1, Settings = 2, About = 3 };

// The running analysis as the screens show it, read once per frame.
struct AnalysisView {
    std::string projectId;
    float fraction = 0.0f;
    const char* stageName = "";
    bool findingBall = false;
    double elapsedSec = 0.0;
    double videoSecDone = 0.0;
    double framesPerSec = 0.0;
    const char* decoderName = "";
};

class AppActions {
public:
    virtual void showError(const std::string& text) = 0;
    virtual void showToast(const std::string& text) = 0;
    virtual void setScreen(Screen next) = 0;
    virtual void setWindowTitle(const std::string& title) = 0;

    // Makes a project from the video and starts its analysis.
    virtual void newProjectFromVideo(const std::string& path) = 0;
    // Opens the project in the editor; asks where the video is when it moved.
    virtual void openProjectById(const std::string& id) = 0;
    virtual bool isProjectOpen(const std::string& id) const = 0;
    // Saves and closes the project shown in the editor.
    virtual void closeProject() = 0;
    // Cancels its analysis first; the video stays.
    virtual void deleteProject(const std::string& id) = 0;
    // Reads the project list from disk again.
    virtual void reloadProjects() = 0;
    // A failure goes to the error dialog.
    virtual void saveOpenProject() = 0;
    virtual void saveSettings() = 0;

    // Analyses the project with its own settings; refused while another runs.
    virtual void startAnalysis(Project& project) = 0;
    virtual void cancelAnalysis() = 0;
    // Dropped while an export runs.
    virtual void startExport(ExportRequest request) = 0;

    // Hand a path to the desktop without waiting for it: the default
    // application, or the file manager showing it. What nothing could open
    // is said in a toast.
    virtual void openWithDesktop(const std::string& path) = 0;
    virtual void showInFolder(const std::string& path) = 0;

protected:
    ~AppActions() = default;
};

}  // namespace rallinox::ui
