// The one top-level window with its OpenGL 3 context (SDL2 underneath).
// Besides creating both, it tracks the window's normal rectangle so that
// its placement can be remembered across runs.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/window_placement.h"

struct SDL_Window;
union SDL_Event;

namespace rallinox {

class AppWindow {
public:
    // Hidden until restorePlacement() shows it. Nothing when no window or no
    // OpenGL 3 context can be made; `error` then says why.
    static std::unique_ptr<AppWindow> create(const std::string& title, std::string& error);
    ~AppWindow();
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;

    SDL_Window* sdlWindow() const { return window_; }
    void* glContext() const { return context_; }
    // The GLSL version line the GUI renderer must use with this context.
    const char* glslVersion() const { return "#version 130"; }

    // 1.0 at 96 DPI; fixed for the run.
    float displayScale() const { return scale_; }

    // Applies a usable placement from the file (else keeps the computed
    // size) and shows the window.
    void restorePlacement(const std::filesystem::path& file);
    // The normal rectangle and the maximised state, to be remembered.
    WindowPlacement placement() const;

    // Keeps the normal rectangle up to date; pass every event.
    void noteEvent(const SDL_Event& event);
    bool isMinimised() const;

    void setTitle(const std::string& title);
    std::string title() const;
    void present();

private:
    AppWindow(SDL_Window* window, void* context, float scale);
    void recordNormalRect();

    SDL_Window* window_;
    void* context_;
    float scale_;
    ScreenRect normalRect_;
};

// Blocking message boxes for the few moments the GUI itself cannot be used.
void showFatalMessage(const std::string& caption, const std::string& text);
bool askYesNo(const AppWindow& window, const std::string& caption, const std::string& question);

}  // namespace rallinox
