// The one top-level window with its OpenGL 3 context (SDL2 underneath),
// the back end's own part. Besides creating both, it tracks the window's
// normal rectangle so that its placement can be remembered across runs.
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

    // Connects the GUI library's SDL and OpenGL back ends to this window;
    // disconnect before the window goes.
    void connectGui();
    void disconnectGui();
    // The size in pixels that frames are drawn at.
    void drawableSize(int& width, int& height) const;

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
    // Tightly packed 8-bit RGBA pixels; copied.
    void setIcon(const unsigned char* rgba, int width, int height);
    void present();
    void requestAttention();

private:
    AppWindow(SDL_Window* window, void* context, float scale);
    void recordNormalRect();
    // Moves the shown window so that its contents, not its frame, start there.
    void placeContentsAt(int left, int top);

    SDL_Window* window_;
    void* context_;
    float scale_;
    ScreenRect normalRect_;
};

}  // namespace rallinox
