#include "app/shell/run_application.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include "app/shell/app.h"
#include "platform/app_window.h"
#include "ui/kit/bidi_text.h"
#include "ui/kit/fonts.h"
#include "ui/kit/text_transform_hook.h"
#include "ui/kit/theme.h"
#include "video/ffmpeg_log.h"

namespace rallinox {

namespace {

constexpr const char* kProductName = "Rallinox";
// Without a display that paces buffer swaps (Xvfb, some remote desktops)
// the loop would spin; no frame is drawn faster than this.
constexpr Uint32 kShortestFrameMs = 1000 / 60;

class DroppedFiles {
public:
    // Only the first file of one drop is used.
    std::optional<std::string> take(const SDL_Event& event) {
        if (event.type == SDL_DROPBEGIN || event.type == SDL_DROPCOMPLETE) {
            accepting_ = true;
        } else if (event.type == SDL_DROPFILE) {
            std::string path = event.drop.file ? event.drop.file : "";
            SDL_free(event.drop.file);
            if (accepting_ && !path.empty()) {
                accepting_ = false;
                return path;
            }
        }
        return std::nullopt;
    }

private:
    bool accepting_ = true;
};

// Every close request comes as SDL_QUIT (the window's close button as well
// as a terminal's interrupt). True when the program should end.
bool confirmQuit(App& app, AppWindow& window, FrameObserver* observer) {
    constexpr const char* kQuestion = "An analysis or export is still running. Stop it and quit?";
    if (app.hasJobs()) {
        const std::optional<bool> answer = observer ? observer->answerQuestion(kQuestion) : std::nullopt;
        if (!(answer ? *answer : askYesNo(window, kProductName, kQuestion))) return false;
    }
    app.onWindowClosing();
    return true;
}

// Reads all pending events; false once the program should end.
bool handleEvents(App& app, AppWindow& window, DroppedFiles& drops, FrameObserver* observer) {
    bool running = true;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        ImGui_ImplSDL2_ProcessEvent(&event);
        window.noteEvent(event);
        if (event.type == SDL_QUIT) {
            if (running && confirmQuit(app, window, observer)) running = false;
        } else if (std::optional<std::string> dropped = drops.take(event)) {
            app.newProjectFromVideo(*dropped);
        }
    }
    return running;
}

void drawFrame(App& app, AppWindow& window) {
    ui::noteTypedGlyphs();
    if (ui::rebuildFontsIfNeeded()) {
        ImGui_ImplOpenGL3_DestroyFontsTexture();
        ImGui_ImplOpenGL3_CreateFontsTexture();
    }
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    app.frame();
    ImGui::Render();

    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window.sdlWindow(), &width, &height);
    glViewport(0, 0, width, height);
    const ImVec4 background = ui::colors::kWindowBg;
    glClearColor(background.x, background.y, background.z, background.w);
    glClear(GL_COLOR_BUFFER_BIT);
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}

void runFrameLoop(App& app, AppWindow& window, FrameObserver* observer) {
    DroppedFiles drops;
    while (true) {
        const Uint32 frameStart = SDL_GetTicks();
        if (observer) observer->beforeEvents(app, window);
        if (!handleEvents(app, window, drops, observer)) return;
        if (window.isMinimised()) {
            SDL_WaitEventTimeout(nullptr, 50);
            continue;
        }
        drawFrame(app, window);
        if (observer) observer->afterRender(app, window);
        window.present();
        const Uint32 spent = SDL_GetTicks() - frameStart;
        if (spent < kShortestFrameMs) SDL_Delay(kShortestFrameMs - spent);
    }
}

}  // namespace

int runApplication(const RunOptions& options) {
    keepFfmpegQuiet();
    std::string error;
    std::unique_ptr<AppWindow> window = AppWindow::create(kProductName, error);
    if (!window) {
        showFatalMessage(kProductName, "Rallinox could not start the graphics device (OpenGL 3).");
        return 1;
    }

    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGui::GetIO().IniFilename = nullptr;
    ImGui::GetIO().LogFilename = nullptr;
    ui::setTextTransformHook(ui::bidiVisualOrderHook);
    ui::applyTheme(window->displayScale());
    ImGui_ImplSDL2_InitForOpenGL(window->sdlWindow(), window->glContext());
    ImGui_ImplOpenGL3_Init(window->glslVersion());
    {
        App app(*window, options.dialogs);
        window->restorePlacement(app.paths.dataDir / "window.txt");
        if (!options.videoPath.empty()) app.newProjectFromVideo(options.videoPath);
        runFrameLoop(app, *window, options.observer);
    }
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    return 0;
}

}  // namespace rallinox
