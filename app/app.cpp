#include "app/app.h"

#include <imgui.h>

#include "app/log.h"
#include "app/project_flows.h"
#include "platform/app_window.h"
#include "ui/feedback.h"
#include "ui/fonts.h"
#include "ui/keys.h"
#include "ui/projects_screen.h"
#include "ui/widgets.h"

namespace rallinox {

namespace {

constexpr double kToastSec = 4.0;
constexpr const char* kTitle = "Rallinox";

}  // namespace

App::App(AppWindow& appWindow, ui::FileDialogs::Backends dialogBackends)
    : paths(DataPaths::compute()), store(paths.projectsDir), window(appWindow), fileDialogs(dialogBackends) {
    openLog(paths.logFile);
    logStartLine();
    settings.load(paths.settingsFile);
    reloadProjects();
}

App::~App() = default;

void App::reloadProjects() { projects = readProjectList(store); }

void App::showError(const std::string& text) { errorText = text; }

void App::showToast(const std::string& text) {
    toastText = text;
    toastUntil = ImGui::GetTime() + kToastSec;
}

bool App::hasJobs() const {
    // No background job exists yet that closing could interrupt.
    return false;
}

void App::onWindowClosing() { window.savePlacement(paths.dataDir / "window.txt"); }

void App::newProjectFromVideo(const std::string& path) {
    setScreen(Screen::projects);
    NewProjectResult created = createProjectFromVideo(store, settings, path);
    if (!created.project) {
        showError(created.error);
        return;
    }
    reloadProjects();
}

void App::closeProject() {
    if (openProject) {
        if (SaveResult saved = store.save(*openProject); !saved) showError(saved.message);
    }
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
            break;
        case Screen::settings:
        case Screen::about:
            if (ui::screenHeader(screen == Screen::settings ? "Settings" : "About", true)) {
                settings.save(paths.settingsFile);
                setScreen(Screen::projects);
            }
            break;
    }
}

void App::frame() {
    noteNameGlyphs();
    handleShortcuts();

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
    fileDialogs.draw();
    ui::drawErrorDialog(errorText);
    ImGui::End();

    ui::drawToast(toastText, toastUntil);
}

}  // namespace rallinox
