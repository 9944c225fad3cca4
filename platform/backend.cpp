#include "platform/backend.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>

#include <cstdio>
#include <set>

#include "platform/app_window.h"
#include "platform/frame_wake.h"
#include "platform/keyboard.h"

namespace rallinox {

namespace {

// Without a display that paces buffer swaps (Xvfb, some remote desktops)
// the loop would spin; no frame is shown sooner than this after the last.
constexpr Uint32 kShortestFrameMs = 1000 / 60;

bool isKeyEvent(const SDL_Event& event) { return event.type == SDL_KEYDOWN || event.type == SDL_KEYUP; }

// The GUI library reads the modifiers from the keyboard's state now, which is
// already past a quick Ctrl+Z still in the queue; each key event knows how
// they stood at that key.
void setGuiModifiers(Uint16 modifiers) {
    ImGuiIO& io = ImGui::GetIO();
    io.KeyCtrl = (modifiers & KMOD_CTRL) != 0;
    io.KeyShift = (modifiers & KMOD_SHIFT) != 0;
    io.KeyAlt = (modifiers & KMOD_ALT) != 0;
    io.KeySuper = (modifiers & KMOD_GUI) != 0;
}

// Any event ends the loop's wait; this one only does that.
void pushWakeEvent() {
    SDL_Event wake{};
    wake.type = SDL_USEREVENT;
    SDL_PushEvent(&wake);
}

}  // namespace

std::unique_ptr<Backend> Backend::create(const std::string& title, std::string& error) {
    std::unique_ptr<AppWindow> window = AppWindow::create(title, error);
    if (!window) return nullptr;
    return std::unique_ptr<Backend>(new Backend(std::move(window)));
}

Backend::Backend(std::unique_ptr<AppWindow> window) : window_(std::move(window)) {
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGui::GetIO().IniFilename = nullptr;
    ImGui::GetIO().LogFilename = nullptr;
    window_->connectGui();
    frameStartMs_ = SDL_GetTicks();
    setFrameWaker(pushWakeEvent);
}

Backend::~Backend() {
    setFrameWaker(nullptr);
    window_->disconnectGui();
    ImGui::DestroyContext();
}

bool Backend::pumpEvents(int waitMs) {
    beginKeyFrame();
    eventsRead_ = false;
    SDL_WaitEventTimeout(nullptr, waitMs);
    setGuiModifiers(SDL_GetModState());
    // The GUI library sees only whether a key is down at each frame: a key
    // that went down and up again in one frame would be lost. Its second
    // change waits in the queue for the next frame, and so does everything
    // behind it, to keep the order.
    std::set<SDL_Scancode> keysChanged;
    bool running = true;
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
        if (isKeyEvent(event) && !keysChanged.insert(event.key.keysym.scancode).second) break;
        SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        eventsRead_ = true;
        ImGui_ImplSDL2_ProcessEvent(&event);
        window_->noteEvent(event);
        if (isKeyEvent(event)) setGuiModifiers(event.key.keysym.mod);
        if (event.type == SDL_KEYDOWN) {
            noteKeyDown(event.key.keysym.scancode, event.key.keysym.sym, event.key.repeat != 0);
        } else if (event.type == SDL_QUIT) {
            if (running && (!onCloseRequest_ || onCloseRequest_())) running = false;
        } else if (event.type == SDL_DROPBEGIN || event.type == SDL_DROPCOMPLETE) {
            acceptingDrop_ = true;
        } else if (event.type == SDL_DROPFILE) {
            // Only the first file of one drop is used.
            const std::string path = event.drop.file ? event.drop.file : "";
            SDL_free(event.drop.file);
            if (acceptingDrop_ && !path.empty()) {
                acceptingDrop_ = false;
                if (onDrop_) onDrop_(path);
            }
        }
    }
    return running;
}

bool Backend::idleWhileMinimised() {
    if (!window_->isMinimised()) return false;
    SDL_WaitEventTimeout(nullptr, 50);
    return true;
}

void Backend::reloadFontTexture() {
    ImGui_ImplOpenGL3_DestroyFontsTexture();
    ImGui_ImplOpenGL3_CreateFontsTexture();
}

void Backend::drawFrame(const ImVec4& background, const std::function<void()>& frame) {
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    frame();
    ImGui::Render();

    int width = 0;
    int height = 0;
    window_->drawableSize(width, height);
    glViewport(0, 0, width, height);
    glClearColor(background.x, background.y, background.z, background.w);
    glClear(GL_COLOR_BUFFER_BIT);
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}

void Backend::present() {
    window_->present();
    const Uint32 spent = SDL_GetTicks() - frameStartMs_;
    if (spent < kShortestFrameMs) SDL_Delay(kShortestFrameMs - spent);
    frameStartMs_ = SDL_GetTicks();
}

float Backend::scale() const { return window_->displayScale(); }

void Backend::setTitle(const std::string& title) { window_->setTitle(title); }

std::string Backend::title() const { return window_->title(); }

void Backend::setIcon(const uint8_t* rgba, int width, int height) { window_->setIcon(rgba, width, height); }

void Backend::requestAttention() { window_->requestAttention(); }

void Backend::restorePlacement(const std::filesystem::path& file) { window_->restorePlacement(file); }

WindowPlacement Backend::placement() const { return window_->placement(); }

void showFatalMessage(const std::string& caption, const std::string& text) {
    // Without a display the box cannot appear either; the terminal still tells.
    std::fprintf(stderr, "%s\n", text.c_str());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}

}  // namespace rallinox
