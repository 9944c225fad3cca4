#include "platform/app_window.h"

#include <SDL.h>
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/display_scale.h"
#include "platform/x_resources.h"

namespace rallinox {

namespace {

ScreenRect toScreenRect(const SDL_Rect& r) { return {r.x, r.y, r.x + r.w, r.y + r.h}; }

ScreenRect primaryUsableArea() {
    SDL_Rect usable{0, 0, 1360, 860};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
    return toScreenRect(usable);
}

std::vector<ScreenRect> displayRects() {
    std::vector<ScreenRect> rects;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(i, &bounds) == 0) rects.push_back(toScreenRect(bounds));
    }
    return rects;
}

float primaryDisplayScale() {
    ScaleSources sources;
    sources.xftDpi = xftDpiFromResources(xResourceManagerText());
    sources.gdkScale = gdkScaleFromVariable(std::getenv("GDK_SCALE"));
    if (!sources.xftDpi && !sources.gdkScale) sources.textScalingFactor = readPortalTextScalingFactor();
    if (float dpi = 0; SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) == 0) sources.monitorDpi = dpi;
    return chooseDisplayScale(sources);
}

}  // namespace

std::unique_ptr<AppWindow> AppWindow::create(const std::string& title, std::string& error) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        error = SDL_GetError();
        return nullptr;
    }
    // Without a display SDL falls back to drivers that draw nowhere; a window
    // nobody can see or close is worse than saying so.
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if (driver == "offscreen" || driver == "dummy") {
        error = "no display";
        SDL_Quit();
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    const float scale = primaryDisplayScale();
    const ScreenRect rect = initialWindowRect(primaryUsableArea(), scale);
    SDL_Window* window = SDL_CreateWindow(title.c_str(), rect.left, rect.top, static_cast<int>(rect.width()),
                                          static_cast<int>(rect.height()),
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI |
                                              SDL_WINDOW_HIDDEN);
    if (!window) {
        error = SDL_GetError();
        SDL_Quit();
        return nullptr;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        error = SDL_GetError();
        SDL_DestroyWindow(window);
        SDL_Quit();
        return nullptr;
    }
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(1);
    SDL_SetWindowMinimumSize(window, kMinWindowWidth, kMinWindowHeight);
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    return std::unique_ptr<AppWindow>(new AppWindow(window, context, scale));
}

AppWindow::AppWindow(SDL_Window* window, void* context, float scale)
    : window_(window), context_(context), scale_(scale) {
    recordNormalRect();
}

AppWindow::~AppWindow() {
    SDL_GL_DeleteContext(context_);
    SDL_DestroyWindow(window_);
    SDL_Quit();
}

void AppWindow::restorePlacement(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    const std::optional<WindowPlacement> saved = parseWindowPlacement(text.str());
    if (saved && placementIsUsable(*saved, displayRects())) {
        const ScreenRect& r = saved->normal;
        SDL_SetWindowPosition(window_, r.left, r.top);
        SDL_SetWindowSize(window_, static_cast<int>(r.width()), static_cast<int>(r.height()));
        normalRect_ = r;
        SDL_ShowWindow(window_);
        placeContentsAt(r.left, r.top);
        if (saved->maximised) SDL_MaximizeWindow(window_);
    } else {
        SDL_ShowWindow(window_);
    }
}

void AppWindow::placeContentsAt(int left, int top) {
    // Before the window is shown a window manager puts its frame, not the
    // contents, where asked; the contents then sit lower by the title bar and
    // would creep down at every start. Once the frame's size is known SDL
    // places the contents themselves.
    constexpr int kFrameWaitSteps = 30;
    constexpr Uint32 kFrameWaitStepMs = 10;
    for (int step = 0; step < kFrameWaitSteps; ++step) {
        SDL_PumpEvents();
        int frameTop = 0, frameLeft = 0, frameBottom = 0, frameRight = 0;
        if (SDL_GetWindowBordersSize(window_, &frameTop, &frameLeft, &frameBottom, &frameRight) == 0 &&
            (frameTop > 0 || frameLeft > 0)) {
            break;
        }
        SDL_Delay(kFrameWaitStepMs);
    }
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    if (x != left || y != top) SDL_SetWindowPosition(window_, left, top);
}

WindowPlacement AppWindow::placement() const {
    return {normalRect_, (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) != 0};
}

void AppWindow::recordNormalRect() {
    const Uint32 flags = SDL_GetWindowFlags(window_);
    if (flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED | SDL_WINDOW_FULLSCREEN)) return;
    SDL_Rect r;
    SDL_GetWindowPosition(window_, &r.x, &r.y);
    SDL_GetWindowSize(window_, &r.w, &r.h);
    normalRect_ = toScreenRect(r);
}

void AppWindow::noteEvent(const SDL_Event& event) {
    if (event.type != SDL_WINDOWEVENT || event.window.windowID != SDL_GetWindowID(window_)) return;
    switch (event.window.event) {
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
            recordNormalRect();
            break;
        default:
            break;
    }
}

bool AppWindow::isMinimised() const { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0; }

void AppWindow::setTitle(const std::string& title) { SDL_SetWindowTitle(window_, title.c_str()); }

std::string AppWindow::title() const { return SDL_GetWindowTitle(window_); }

void AppWindow::setIcon(const unsigned char* rgba, int width, int height) {
    // SDL only reads the pixels while setting the icon.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(rgba), width, height, 32,
                                                              width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return;
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
}

void AppWindow::present() { SDL_GL_SwapWindow(window_); }

void AppWindow::connectGui() {
    ImGui_ImplSDL2_InitForOpenGL(window_, context_);
    ImGui_ImplOpenGL3_Init("#version 130");
}

void AppWindow::disconnectGui() {
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplSDL2_Shutdown();
}

void AppWindow::drawableSize(int& width, int& height) const { SDL_GL_GetDrawableSize(window_, &width, &height); }

void AppWindow::requestAttention() {
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) return;
    SDL_FlashWindow(window_, SDL_FLASH_UNTIL_FOCUSED);
}

}  // namespace rallinox
