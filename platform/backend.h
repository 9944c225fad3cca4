// The window system as the application sees it: one window with its OpenGL 3
// context and the GUI library's back ends, its events, frames, title, scale
// and placement. The rest of the program never names SDL or OpenGL.
#pragma once

#include <imgui.h>

#include <filesystem>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/window_placement.h"

namespace rallinox {

class AppWindow;

class Backend {
public:
    // Gets the first file of each drop.
    using DropCallback = std::function<void(const std::string& path)>;
    // Asked at each close request (the window's close button as well as a
    // terminal's interrupt); true lets the window close.
    using CloseCallback = std::function<bool()>;

    // Makes the window (hidden until restorePlacement()) and the GUI
    // library's context. Nothing when no window or no OpenGL 3 context can
    // be made; `error` then says why.
    static std::unique_ptr<Backend> create(const std::string& title, std::string& error);
    ~Backend();
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;

    void onDrop(DropCallback callback) { onDrop_ = std::move(callback); }
    void onCloseRequest(CloseCallback callback) { onCloseRequest_ = std::move(callback); }

    // Waits up to `waitMs` for an event, then reads the pending ones; false
    // once a close request was granted. A second change of one key waits for
    // the next call, so that the GUI sees every press however short.
    bool pumpEvents(int waitMs);
    // Whether the last pumpEvents read any event.
    bool eventsRead() const { return eventsRead_; }
    // True while the window is minimised, after waiting a little for events:
    // there is nothing to draw then.
    bool idleWhileMinimised();
    // The GUI library's font atlas was rebuilt: its texture is made again.
    void reloadFontTexture();
    // Draws one frame into the back buffer: `frame` runs between the GUI
    // library's new-frame and render calls.
    void drawFrame(const ImVec4& background, const std::function<void()>& frame);
    // Shows the frame drawn, never sooner than the shortest frame time after
    // the previous one.
    void present();

    // 1.0 at 96 DPI; fixed for the run.
    float scale() const;
    void setTitle(const std::string& title);
    std::string title() const;
    // Tightly packed 8-bit RGBA pixels; copied.
    void setIcon(const uint8_t* rgba, int width, int height);
    // Flashes the window's entry in the task bar until the window is
    // focused; nothing when it already has the focus.
    void requestAttention();

    // Applies a usable placement from the file (else keeps the computed
    // size) and shows the window.
    void restorePlacement(const std::filesystem::path& file);
    // The normal rectangle and the maximised state, to be remembered.
    WindowPlacement placement() const;

private:
    explicit Backend(std::unique_ptr<AppWindow> window);

    std::unique_ptr<AppWindow> window_;
    DropCallback onDrop_;
    CloseCallback onCloseRequest_;
    bool acceptingDrop_ = true;
    bool eventsRead_ = false;
    uint32_t frameStartMs_ = 0;
};

// Says why the program cannot start, in a message box when one can appear
// and on standard error.
void showFatalMessage(const std::string& caption, const std::string& text);

}  // namespace rallinox
