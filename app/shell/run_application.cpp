#include "app/shell/run_application.h"

#include <imgui.h>

#include <algorithm>
#include <chrono>

#include "app/jobs/background_jobs.h"
#include "app/shell/app.h"
#include "app/shell/window_icon.h"
#include "platform/backend.h"
#include "platform/frame_pacer.h"
#include "ui/kit/bidi_text.h"
#include "ui/kit/fonts.h"
#include "ui/kit/text_transform_hook.h"
#include "ui/kit/theme.h"
#include "video/ffmpeg_log.h"

namespace rallinox {

namespace {

constexpr const char* kProductName = "Rallinox";

double secondsNow() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// What the window shows next without being asked by an event: a playing
// video and a held mouse button move every frame; a job's progress, a
// blinking text cursor and a toast that ends are due at a time. Workers that
// finish a picture or an answer wake the loop themselves.
void planNextFrame(FramePacer& pacer, const App& app, double now) {
    constexpr double kJobProgressSec = 0.25;
    constexpr double kCursorBlinkSec = 0.2;
    const bool moving = app.player.playing() || ImGui::IsAnyMouseDown();
    double nextFrameAt = FramePacer::kNever;
    if (app.jobs->any()) nextFrameAt = std::min(nextFrameAt, now + kJobProgressSec);
    if (ImGui::GetIO().WantTextInput) nextFrameAt = std::min(nextFrameAt, now + kCursorBlinkSec);
    // The toast's end is in the GUI library's time, which runs with the clock.
    const double toastLeft = app.toastUntil - ImGui::GetTime();
    if (!app.toastText.empty() && toastLeft >= 0) nextFrameAt = std::min(nextFrameAt, now + toastLeft);
    pacer.afterFrame(moving, nextFrameAt);
}

void runFrameLoop(App& app, Backend& backend, FrameObserver* observer) {
    backend.onDrop([&app](const std::string& path) { app.newProjectFromVideo(path); });
    backend.onCloseRequest([&app] { return app.requestClose(); });
    FramePacer pacer;
    while (!app.quitConfirmed()) {
        if (observer) observer->beforeEvents(app, backend);
        const bool driven = observer && observer->drivesFrames();
        if (!backend.pumpEvents(driven ? 0 : pacer.waitMs(secondsNow()))) break;
        if (backend.idleWhileMinimised()) continue;
        if (!pacer.shouldDraw(backend.eventsRead(), secondsNow()) && !driven) continue;
        ui::noteTypedGlyphs();
        if (ui::rebuildFontsIfNeeded()) backend.reloadFontTexture();
        backend.drawFrame(ui::colors::kWindowBg, [&app] { app.frame(); });
        if (observer) observer->afterRender(app, backend);
        backend.present();
        planNextFrame(pacer, app, secondsNow());
    }
    app.onWindowClosing();
}

}  // namespace

RunOptions runOptionsFromArguments(const std::vector<std::string>& arguments) {
    RunOptions options;
    size_t next = 0;
    if (next < arguments.size() && arguments[next] == "--reopen") {
        options.reopenProject = true;
        ++next;
    }
    if (next < arguments.size()) options.videoPath = arguments[next];
    return options;
}

int runApplication(const RunOptions& options) {
    keepFfmpegQuiet();
    std::string error;
    std::unique_ptr<Backend> backend = Backend::create(kProductName, error);
    if (!backend) {
        showFatalMessage(kProductName, "Rallinox could not start the graphics device (OpenGL 3).");
        return 1;
    }
    ui::setTextTransformHook(ui::bidiVisualOrderHook);
    setWindowIcon(*backend);
    ui::applyTheme(backend->scale());
    App app(*backend, options.dialogs);
    backend->restorePlacement(app.paths.dataDir / "window.txt");
    if (options.reopenProject && !options.videoPath.empty()) {
        app.reopenProjectOfVideo(options.videoPath);
    } else if (!options.videoPath.empty()) {
        app.newProjectFromVideo(options.videoPath);
    }
    runFrameLoop(app, *backend, options.observer);
    return 0;
}

}  // namespace rallinox
