#include "app/shell/run_application.h"

#include "app/shell/app.h"
#include "app/shell/window_icon.h"
#include "platform/backend.h"
#include "ui/kit/bidi_text.h"
#include "ui/kit/fonts.h"
#include "ui/kit/text_transform_hook.h"
#include "ui/kit/theme.h"
#include "video/ffmpeg_log.h"

namespace rallinox {

namespace {

constexpr const char* kProductName = "Rallinox";

void runFrameLoop(App& app, Backend& backend, FrameObserver* observer) {
    backend.onDrop([&app](const std::string& path) { app.newProjectFromVideo(path); });
    backend.onCloseRequest([&app] { return app.requestClose(); });
    while (!app.quitConfirmed()) {
        if (observer) observer->beforeEvents(app, backend);
        if (!backend.pumpEvents()) break;
        if (backend.idleWhileMinimised()) continue;
        ui::noteTypedGlyphs();
        if (ui::rebuildFontsIfNeeded()) backend.reloadFontTexture();
        backend.drawFrame(ui::colors::kWindowBg, [&app] { app.frame(); });
        if (observer) observer->afterRender(app, backend);
        backend.present();
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
